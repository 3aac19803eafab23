#include "VbRomHeader.h"

#include "GuardedFile.h"
#include "SaveFile.h"

namespace {

constexpr int kMakerCodeOffset = 25;
constexpr int kGameIdOffset = 27;
constexpr int kVersionOffset = 31;

QByteArray withoutTrailingSpaces(QByteArray field)
{
    while (field.endsWith(' '))
        field.chop(1);
    return field;
}

// A text field as stored: trailing spaces dropped, then padded to its width.
void writeField(QByteArray &image, qsizetype at, const QByteArray &text, int width)
{
    const QByteArray field = withoutTrailingSpaces(text).left(width).leftJustified(width, ' ');
    image.replace(at, width, field);
}

// True when the file at `path` is `image` in every byte but the header's.
bool sameOutsideHeader(const QString &path, const QByteArray &image)
{
    if (image.size() <= VbRomHeader::kDistanceFromEnd)
        return false;
    const auto read = guardedfile::ReadWhole(path, image.size(), QString());
    const QByteArray *found = std::get_if<QByteArray>(&read);
    if (!found)
        return false;
    const QByteArray &onDisk = *found;
    const qsizetype at = image.size() - VbRomHeader::kDistanceFromEnd;
    const qsizetype after = at + VbRomHeader::kSize;
    return onDisk.size() == image.size() && QByteArrayView(onDisk).first(at) == QByteArrayView(image).first(at)
           && QByteArrayView(onDisk).sliced(after) == QByteArrayView(image).sliced(after);
}

} // namespace

std::optional<VbRomHeader> VbRomHeader::read(const QByteArray &image)
{
    if (image.size() <= kDistanceFromEnd)
        return std::nullopt;
    const QByteArray bytes = image.mid(image.size() - kDistanceFromEnd, kSize);
    VbRomHeader header;
    header.title = withoutTrailingSpaces(bytes.left(kTitleSize));
    header.makerCode = withoutTrailingSpaces(bytes.mid(kMakerCodeOffset, kMakerCodeSize));
    header.gameId = withoutTrailingSpaces(bytes.mid(kGameIdOffset, kGameIdSize));
    header.version = uint8_t(bytes.at(kVersionOffset));
    return header;
}

bool VbRomHeader::reservedBytesAreZero(QByteArrayView header)
{
    return header.size() == kSize && header.sliced(kReservedOffset, kReservedSize) == QByteArray(kReservedSize, '\0');
}

void VbRomHeader::writeTo(QByteArray &image) const
{
    if (image.size() <= kDistanceFromEnd)
        return;
    const qsizetype at = image.size() - kDistanceFromEnd;
    writeField(image, at, title, kTitleSize);
    writeField(image, at + kMakerCodeOffset, makerCode, kMakerCodeSize);
    writeField(image, at + kGameIdOffset, gameId, kGameIdSize);
    image[at + kVersionOffset] = char(version);
}

QString VbRomHeader::versionText() const
{
    return QStringLiteral("1.") + QString::number(version);
}

std::optional<QString> WriteVbRomImage(const QString &path, const QByteArray &image)
{
    // The user opened the ROM through the link: the ROM is what they save.
    const auto error = savefile::SaveWhole(path, image, savefile::Links::WriteThrough);
    if (!error)
        return std::nullopt;
    if (error->step == savefile::Step::CreateTemporary && sameOutsideHeader(path, image)) {
        // A folder that takes no new file may still let us change the file:
        // the header alone, in place, gives the same image.
        const qsizetype at = image.size() - VbRomHeader::kDistanceFromEnd;
        if (!savefile::WriteInPlace(path, at, image.mid(at, VbRomHeader::kSize)))
            return std::nullopt;
    }
    return error->reason;
}

QString RomSizeText(qint64 length)
{
    constexpr double kBytesPerMegabit = 131072.0;
    const double megabits = double(length) / kBytesPerMegabit;
    // 'g' with 15 digits writes no exponent for any length a file can have
    // here (545 bytes up to 2 GiB) and drops trailing zeros.
    return QString::number(length) + QStringLiteral(" Bytes  (") + QString::number(megabits, 'g', 15)
           + QStringLiteral(" MBit)");
}
