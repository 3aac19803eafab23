#pragma once
// The ROM database's two look-ups over the one known-ROM catalogue
// (rommodel/KnownRomTable.h): checksum to title and title to checksum. They
// differ from the ROM information window's look-up in one answer: an empty
// checksum is "[BAD ROM]" here.

#include <QString>
#include <QStringList>

namespace romdb {

inline const QString kBadRom = QStringLiteral("[BAD ROM]");

// The catalogue's titles in catalogue order, "3D Tetris (U) [!]" first.
const QStringList &KnownTitles();

// The title of the row whose checksum in the chosen column equals `checksum`
// exactly; "[BAD ROM]" for an empty checksum that no row has,
// "[UNKNOWN VB ROM]" for any other.
QString LookupTitleByChecksum(const QString &checksum, bool wholeImage);

// The chosen checksum of the row with exactly this title, or "".
QString LookupChecksumByTitle(const QString &title, bool wholeImage);

} // namespace romdb
