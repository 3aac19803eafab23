#include "PaletteFile.h"

#include <QFile>
#include <QFileInfo>

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
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return Decode(QByteArray());
    if (info.isDir())
        return unreadable(QStringLiteral("It is a folder, not a file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
    const QByteArray start = file.read(kSize);
    if (file.error() != QFileDevice::NoError)
        return unreadable(file.errorString());
    return Decode(start);
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
