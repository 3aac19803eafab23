#include "ChangeLabel.h"

void ChangeLabel::setCaption(const QString &caption)
{
    if (caption == text())
        return;
    setText(caption);
    emit captionChanged();
}
