// The image check: every window, and the ROM database for each file, reads
// an image through here, so what may be opened at all is decided once.

#include "VbRomHeader.h"

#include <cerrno>
#include <limits>
#include <utility>
#include <variant>

#include "GuardedFile.h"
#include "MsgBox.h"
#include "SaveFile.h"

namespace {

struct Failure {
    RomCheck result;
    QString prompt;
    QString title;
};

Failure unreadable(const QString &path, const QString &reason)
{
    return {RomCheck::Unreadable,
            QStringLiteral("Unable to read the file:") + msgbox::CR + path + msgbox::CR + reason,
            QStringLiteral("File error")};
}

Failure unreadable(const QString &path, int error)
{
    return unreadable(path, savefile::ErrorText(error));
}

const Failure kMissing{RomCheck::Missing, QStringLiteral("File does not exist."), QStringLiteral("Invalid filename")};
const Failure kTooSmall{RomCheck::TooSmall, QStringLiteral("File too small to be a VB ROM image."),
                        QStringLiteral("Invalid VB ROM")};
const Failure kInvalid{RomCheck::Invalid, QStringLiteral("Invalid VB ROM image."), QStringLiteral("Invalid VB ROM")};

// Opens the image file at `path` through the program's one guarded open:
// whatever is not a regular file once links are followed is refused
// unopened (a link to /dev/zero would be read for ever, and opening a pipe
// waits for a writer). Read-only: nothing is created, changed or deleted.
std::variant<guardedfile::File, Failure> openImageFile(const QString &path)
{
    // Lengths are signed 32-bit throughout the program and the library.
    auto opened = guardedfile::Open(path, std::numeric_limits<int32_t>::max(),
                                    QStringLiteral("The file is too large to be a VB ROM image."));
    if (const guardedfile::Failure *failure = std::get_if<guardedfile::Failure>(&opened))
        return failure->kind == guardedfile::Failure::Kind::Missing ? kMissing : unreadable(path, failure->reason);
    return std::move(std::get<guardedfile::File>(opened));
}

// What a file that gave no bytes is: missing only when it is empty. One that
// reports no length yet has bytes to give (as files under /proc do), or whose
// read fails, is there, and can't be read as an image.
Failure nothingRead(guardedfile::File &file, const QString &path)
{
    char page[4096]; // some files under /proc take no smaller read
    const qint64 read = file.read(page, sizeof page);
    if (read < 0)
        return unreadable(path, errno);
    if (read > 0)
        return unreadable(path, QStringLiteral("The file reports no length."));
    return kMissing;
}

// The verdict on an image of `length` bytes whose header is `header`.
std::optional<Failure> judge(qint64 length, QByteArrayView header)
{
    if (length == 0)
        return kMissing;
    if (length <= VbRomHeader::kDistanceFromEnd)
        return kTooSmall;
    if (!VbRomHeader::reservedBytesAreZero(header))
        return kInvalid;
    return std::nullopt;
}

CheckedImage fail(const Failure &failure, bool showMessages)
{
    if (showMessages)
        msgbox::MsgBox(failure.prompt, msgbox::vbExclamation, failure.title);
    return CheckedImage{failure.result, QByteArray()};
}

ScannedImage failed(RomCheck result)
{
    ScannedImage scanned;
    scanned.result = result;
    return scanned;
}

QByteArrayView headerOf(QByteArrayView image)
{
    if (image.size() <= VbRomHeader::kDistanceFromEnd)
        return QByteArrayView();
    return image.sliced(image.size() - VbRomHeader::kDistanceFromEnd, VbRomHeader::kSize);
}

} // namespace

CheckedImage CheckVbRomImage(const QString &path, bool showMessages)
{
    auto opened = openImageFile(path);
    if (const Failure *failure = std::get_if<Failure>(&opened))
        return fail(*failure, showMessages);
    guardedfile::File &file = std::get<guardedfile::File>(opened);

    // One read of the whole file. A file that shrinks meanwhile is judged by
    // what was read; one that grows, by the length it had when it was opened.
    QByteArray image(file.length(), Qt::Uninitialized);
    const qint64 read = file.read(image.data(), image.size());
    if (read < 0)
        return fail(unreadable(path, errno), showMessages);
    image.truncate(read);
    if (image.isEmpty())
        return fail(nothingRead(file, path), showMessages);

    if (const auto failure = judge(image.size(), headerOf(image)))
        return fail(*failure, showMessages);
    return CheckedImage{RomCheck::Ok, image};
}

ScannedImage ScanVbRomImage(const QString &path, qsizetype pieceBytes, const ImagePieceTaker &takePiece)
{
    auto opened = openImageFile(path);
    if (const Failure *failure = std::get_if<Failure>(&opened))
        return failed(failure->result);
    guardedfile::File &file = std::get<guardedfile::File>(opened);
    const qint64 length = file.length();

    // One buffer for every piece, so each is summed where it was just read.
    QByteArray piece(qsizetype(std::min<qint64>(pieceBytes, length)), Qt::Uninitialized);
    // The last 544 bytes so far: the header lies at their start.
    QByteArray tail;
    for (qint64 offset = 0; offset < length;) {
        const qint64 wanted = std::min<qint64>(piece.size(), length - offset);
        const qint64 read = file.read(piece.data(), wanted);
        if (read != wanted)
            return failed(RomCheck::Unreadable);
        const QByteArrayView bytes(piece.constData(), read);
        takePiece(bytes, offset, length);
        tail.append(bytes.last(std::min<qint64>(read, VbRomHeader::kDistanceFromEnd)));
        tail = tail.right(VbRomHeader::kDistanceFromEnd);
        offset += read;
    }
    char more;
    if (file.read(&more, 1) != 0)
        return failed(RomCheck::Unreadable); // it grew while it was read

    const QByteArrayView header = length > VbRomHeader::kDistanceFromEnd
                                      ? QByteArrayView(tail).first(VbRomHeader::kSize)
                                      : QByteArrayView();
    if (const auto failure = judge(length, header))
        return failed(failure->result);
    return ScannedImage{RomCheck::Ok, length, header.toByteArray()};
}
