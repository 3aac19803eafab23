#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <variant>

#include "GuardedFile.h"

namespace fonts {
namespace {

QString g_family;

// Far more than a font of a few thousand glyphs takes.
constexpr qint64 kLargestFont = 64 << 20;

} // namespace

bool RegisterKatakanaFont(const QString &fontFile)
{
    // Read by the file's real bytes: the install's folder need not be UTF-8.
    const auto read = guardedfile::ReadWhole(fontFile, kLargestFont, QString());
    const QByteArray *data = std::get_if<QByteArray>(&read);
    if (!data)
        return false;
    const int id = QFontDatabase::addApplicationFontFromData(*data);
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
