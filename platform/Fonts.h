#pragma once
// Titles of Virtual Boy images are single bytes: ASCII, and JIS X 0201
// half-width katakana in 0xA1-0xDF. They are shown in the katakana font that
// start-up registers (the install's "MSGOKATA.TTF").

#include <QByteArray>
#include <QFont>
#include <QString>

namespace fonts {

// Registers the font file, read by its real bytes; false when it can't be
// read or Qt can't load it.
bool RegisterKatakanaFont(const QString &fontFile);

// The registered family for "MS Gothic English-Katakana" (the system's
// default family until a font is registered).
QFont KatakanaFont(qreal pointSize = 9.0);

// One character per byte: 0xA1-0xDF become U+FF61-U+FF9F, every other byte
// the character of the same number.
QString DecodeTitle(const QByteArray &bytes);
// The inverse: U+FF61-U+FF9F become 0xA1-0xDF, U+0000-U+00FF their own byte,
// anything else "?".
QByteArray EncodeTitle(const QString &text);
// True for a character a title holds: printable ASCII or half-width katakana.
bool IsTitleCharacter(QChar c);

} // namespace fonts
