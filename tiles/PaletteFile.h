#pragma once
// The palette file (".pvb"): the three bytes "PAL" and then the twelve
// values of a tile palette, one byte each, 15 bytes in all. A shorter file
// that starts with "PAL" reads its missing values as 0; bytes after the 15th
// are ignored.

#include <QByteArray>
#include <QString>

#include <optional>

#include "TilePalette.h"

namespace palettefile {

inline const QString kFilter = QStringLiteral("Zandrel Utils Palette File (*.pvb)|*.pvb|All Files (*.*)|*.*");
constexpr int kSize = 15;

// Missing: no such file, or an empty one. Unreadable: it exists but can't be
// read (a folder, a pipe or a device, no permission, a failing read).
enum class PaletteCheck { Ok, Missing, NotPalette, Unreadable };

struct ReadPalette {
    PaletteCheck result = PaletteCheck::Missing;
    tilepalette::Values values{}; // when result is Ok
    QString reason;               // when result is Unreadable: the system's words
};

// The 15 bytes of a palette file; each value goes in as its byte (see
// tilepalette::ComponentByte).
QByteArray Encode(const tilepalette::Values &values);

// Judges the start of a file (at least its first 15 bytes when it has them).
ReadPalette Decode(const QByteArray &start);

// Reads and judges the file at `path` without creating, changing or deleting
// any file.
ReadPalette Read(const QString &path);

// Writes the palette to `path` whole through the program's one safe save: a
// failure leaves the old file as it was. Returns the reason of a failure.
std::optional<QString> Write(const QString &path, const tilepalette::Values &values);

} // namespace palettefile
