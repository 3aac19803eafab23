#include "PaletteFile.h"

#include "GuardedFile.h"
#include "SaveFile.h"

namespace palettefile {
namespace {

const QByteArray kMagic = QByteArrayLiteral("PAL");

ReadPalette unreadable(const QString &reason)
{
    return ReadPalette{PaletteCheck::Unreadable, {}, reason};
}

} // namespace

QByteArray Encode(const tilepalette::Values &values)
{
    QByteArray bytes = kMagic;
    for (const int16_t value : values)
        bytes.append(char(tilepalette::ComponentByte(value)));
    return bytes;
}

ReadPalette Decode(const QByteArray &start)
{
    if (start.isEmpty())
        return ReadPalette{PaletteCheck::Missing, {}, {}};
    // Missing bytes of a short file read as 0, so "PA" fails the magic test.
    const QByteArray bytes = start.left(kSize).leftJustified(kSize, '\0');
    if (!bytes.startsWith(kMagic))
        return ReadPalette{PaletteCheck::NotPalette, {}, {}};
    ReadPalette palette{PaletteCheck::Ok, {}, {}};
    for (int i = 0; i < tilepalette::kValueCount; ++i)
        palette.values[size_t(i)] = int16_t(uint8_t(bytes.at(kMagic.size() + i)));
    return palette;
}

ReadPalette Read(const QString &path)
{
    // Only the palette's own bytes are read; what follows them is ignored.
    const auto read = guardedfile::ReadStart(path, kSize);
    if (const auto *failure = std::get_if<guardedfile::Failure>(&read))
        return failure->kind == guardedfile::Failure::Kind::Missing ? Decode(QByteArray()) : unreadable(failure->reason);
    return Decode(std::get<QByteArray>(read));
}

std::optional<QString> Write(const QString &path, const tilepalette::Values &values)
{
    // The user named the file: a link of that name carries the save to the
    // file it points to, as a ROM save does.
    if (const auto error = savefile::SaveWhole(path, Encode(values), savefile::Links::WriteThrough))
        return error->reason;
    return std::nullopt;
}

} // namespace palettefile
