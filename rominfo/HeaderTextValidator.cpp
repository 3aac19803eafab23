#include "HeaderTextValidator.h"

#include "Fonts.h"

QValidator::State HeaderTextValidator::validate(QString &input, int &pos) const
{
    QString held;
    held.reserve(input.size());
    for (int i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (fonts::IsTitleCharacter(c) || m_kept.contains(c))
            held += c;
        else if (i < pos)
            --pos;
    }
    input = held;
    return Acceptable;
}
