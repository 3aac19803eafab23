#include "VbRomHeader.h"

#include <QFile>
#include <QFileInfo>

#include <limits>

#include "MsgBox.h"
#include "SaveFile.h"

namespace {

constexpr int kReservedOffset = 20;
constexpr int kReservedSize = 5;
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

struct Failure {
    RomCheck result;
    QString prompt;
    QString title;
};

CheckedImage fail(const Failure &failure, bool showMessages)
{
    if (showMessages)
        msgbox::MsgBox(failure.prompt, msgbox::vbExclamation, failure.title);
    return CheckedImage{failure.result, QByteArray()};
}

Failure unreadable(const QString &path, const QString &reason)
{
    return {RomCheck::Unreadable,
            QStringLiteral("Unable to read the file:") + QChar(u'\r') + path + QChar(u'\r') + reason,
            QStringLiteral("File error")};
}

const Failure kMissing{RomCheck::Missing, QStringLiteral("File does not exist."), QStringLiteral("Invalid filename")};
const Failure kTooSmall{RomCheck::TooSmall, QStringLiteral("File too small to be a VB ROM image."),
                        QStringLiteral("Invalid VB ROM")};
const Failure kInvalid{RomCheck::Invalid, QStringLiteral("Invalid VB ROM image."), QStringLiteral("Invalid VB ROM")};

// True when the file at `path` is `image` in every byte but the header's.
bool sameOutsideHeader(const QString &path, const QByteArray &image)
{
    QFile file(path);
    if (image.size() <= VbRomHeader::kDistanceFromEnd || !file.open(QIODevice::ReadOnly)
        || file.size() != image.size())
        return false;
    const QByteArray onDisk = file.readAll();
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

bool VbRomHeader::reservedBytesAreZero(const QByteArray &image)
{
    if (image.size() <= kDistanceFromEnd)
        return false;
    const QByteArray reserved = image.mid(image.size() - kDistanceFromEnd + kReservedOffset, kReservedSize);
    return reserved == QByteArray(kReservedSize, '\0');
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

CheckedImage CheckVbRomImage(const QString &path, bool showMessages)
{
    // Read-only throughout: a check never creates, changes or deletes a file.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return fail(kMissing, showMessages);
    if (info.isDir())
        return fail(unreadable(path, QStringLiteral("It is a folder, not a file.")), showMessages);
    // Lengths are signed 32-bit throughout the program and the library.
    if (info.size() > std::numeric_limits<int32_t>::max())
        return fail(unreadable(path, QStringLiteral("The file is too large to be a VB ROM image.")), showMessages);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(unreadable(path, file.errorString()), showMessages);
    // Length and bytes come from one read, so a file that changes under us
    // is judged by what was actually read.
    const QByteArray image = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(unreadable(path, file.errorString()), showMessages);

    if (image.isEmpty())
        return fail(kMissing, showMessages);
    if (image.size() <= VbRomHeader::kDistanceFromEnd)
        return fail(kTooSmall, showMessages);
    if (!VbRomHeader::reservedBytesAreZero(image))
        return fail(kInvalid, showMessages);
    return CheckedImage{RomCheck::Ok, image};
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
