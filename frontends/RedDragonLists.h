#pragma once
// Red Dragon's vocabulary: the items of the front-end's fixed choice lists,
// in the order the option file counts them, the graphics modes with the
// numbers the emulator knows them by, and the screen sizes each mode offers.

#include <QString>
#include <QStringList>

#include <optional>

namespace reddragon {

// "Autodetect" ... "GDI": nine modes. Two names stand cut at 17 characters,
// as the emulator shows them ("DirectDraw overla").
const QStringList &ScreenModes();
// "  8 bpp (256 colors)" ... " 32 bpp (16M colors)".
const QStringList &ColourDepths();
// "Normal", "Red / Blue", "Interlaced", "Over / Under", "Side by Side", "CyberScope".
const QStringList &DisplayModes();
// "Normal", "Red", "Red & Blue", "Red & Green", "Red, Blue, Green".
const QStringList &Palettes();
// "Win", "DOS".
const QStringList &Versions();

// The sizes the mode of that exact name offers, in their order; nullopt for
// a name that is no mode.
std::optional<QStringList> SizesOfMode(const QString &modeName);

// The option file's number of the mode at a list position (0, 1, 2, 4,
// 6 ... 10), and back: the position of a number, or -1 (3, 5, and all
// outside 0 ... 10 belong to no mode).
int ModeNumber(int position);
int ModePosition(int number);

// A size as the list shows it: the width right-aligned in four characters,
// "x", the height (" 640x480", "  80x80", "1280x1024").
QString SizeText(int width, int height);
// The width and height a size text stands for: the leading numbers of its
// first four characters and of what follows its fifth.
int SizeWidth(const QString &sizeText);
int SizeHeight(const QString &sizeText);

// The size chosen by default with "Autodetect".
inline const QString kDefaultSize = QStringLiteral(" 640x480");

} // namespace reddragon
