#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace fonts {
namespace {

QString g_family;

} // namespace

bool RegisterKatakanaFont(const QString &fontFile)
{
    const int id = QFontDatabase::addApplicationFont(fontFile);
    if (id < 0)
        return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        return false;
    g_family = families.constFirst();
    return true;
}

QFont KatakanaFont(qreal pointSize)
{
    QFont font;
    if (!g_family.isEmpty())
        font.setFamily(g_family);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(pointSize);
    return font;
}

QString DecodeTitle(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const uchar b = uchar(c);
        text += (b >= 0xA1 && b <= 0xDF) ? QChar(0xFF61 + (b - 0xA1)) : QChar(b);
    }
    return text;
}

QByteArray EncodeTitle(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF61 && u <= 0xFF9F)
            bytes.append(char(0xA1 + (u - 0xFF61)));
        else if (u <= 0xFF)
            bytes.append(char(u));
        else
            bytes.append('?');
    }
    return bytes;
}

bool IsTitleCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x20 && u <= 0x7E) || (u >= 0xFF61 && u <= 0xFF9F);
}

} // namespace fonts
