#pragma once
// The Latin-letter reading of a header title of ASCII and half-width katakana
// bytes, with a capital first letter: for captions and tool tips wherever the
// katakana font is not used.

#include <QByteArray>
#include <QString>

// One character per byte of the reading: ASCII, plus U+00A5 (for "\"),
// U+00B7 (for the middle dot) and U+00B0 (for a lone semi-voiced mark).
QString KanaToRomaji(const QByteArray &title);
