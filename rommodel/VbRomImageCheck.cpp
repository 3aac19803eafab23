// The image check: every window, and the ROM database for each file, reads
// an image through here, so what may be opened at all is decided once.

#include "VbRomHeader.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <variant>

#include "MsgBox.h"
#include "Paths.h"

namespace {

struct Failure {
    RomCheck result;
    QString prompt;
    QString title;
};

Failure unreadable(const QString &path, const QString &reason)
{
    return {RomCheck::Unreadable,
            QStringLiteral("Unable to read the file:") + QChar(u'\r') + path + QChar(u'\r') + reason,
            QStringLiteral("File error")};
}

Failure unreadable(const QString &path, int error)
{
    return unreadable(path, QString::fromLocal8Bit(std::strerror(error)));
}

const Failure kMissing{RomCheck::Missing, QStringLiteral("File does not exist."), QStringLiteral("Invalid filename")};
const Failure kTooSmall{RomCheck::TooSmall, QStringLiteral("File too small to be a VB ROM image."),
                        QStringLiteral("Invalid VB ROM")};
const Failure kInvalid{RomCheck::Invalid, QStringLiteral("Invalid VB ROM image."), QStringLiteral("Invalid VB ROM")};

// Why something that is not a regular file can't be an image; empty for a
// regular file.
QString notAFile(mode_t mode)
{
    if (S_ISREG(mode))
        return QString();
    if (S_ISDIR(mode))
        return QStringLiteral("It is a folder, not a file.");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("It is a device, not a file.");
    if (S_ISFIFO(mode))
        return QStringLiteral("It is a pipe, not a file.");
    if (S_ISSOCK(mode))
        return QStringLiteral("It is a socket, not a file.");
    return QStringLiteral("It is not a regular file.");
}

// An image file open for reading, closed when it goes.
class ImageFile {
public:
    explicit ImageFile(int fd) : m_fd(fd) {}
    ImageFile(ImageFile &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)), m_length(other.m_length) {}
    ImageFile(const ImageFile &) = delete;
    ~ImageFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    qint64 length() const { return m_length; }
    void setLength(qint64 length) { m_length = length; }

    // Fills `to` as far as the file goes: the bytes read, or -1 with errno set.
    qint64 read(char *to, qint64 size)
    {
        qint64 done = 0;
        while (done < size) {
            const ssize_t n = ::read(m_fd, to + done, size_t(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return -1;
            if (n == 0)
                break;
            done += n;
        }
        return done;
    }

private:
    int m_fd;
    qint64 m_length = 0;
};

// Opens the image file at `path`. Whatever is not a regular file once links
// are followed is refused before it is opened: a link to /dev/zero would be
// read for ever, and opening a pipe waits for a writer. The file is checked
// again once open, in case it was swapped in between. Read-only: nothing is
// created, changed or deleted.
std::variant<ImageFile, Failure> openImageFile(const QString &path)
{
    if (path.isEmpty())
        return kMissing;
    const QByteArray native = paths::EncodeFileName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? kMissing : unreadable(path, errno);
    if (const QString refusal = notAFile(info.st_mode); !refusal.isEmpty())
        return unreadable(path, refusal);

    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return unreadable(path, errno);
    ImageFile file(fd);
    if (::fstat(fd, &info) != 0)
        return unreadable(path, errno);
    if (const QString refusal = notAFile(info.st_mode); !refusal.isEmpty())
        return unreadable(path, refusal);
    // Lengths are signed 32-bit throughout the program and the library.
    if (info.st_size > std::numeric_limits<int32_t>::max())
        return unreadable(path, QStringLiteral("The file is too large to be a VB ROM image."));
    file.setLength(info.st_size);
    return file;
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
    ImageFile &file = std::get<ImageFile>(opened);

    // One read of the whole file. A file that shrinks meanwhile is judged by
    // what was read; one that grows, by the length it had when it was opened.
    QByteArray image(file.length(), Qt::Uninitialized);
    const qint64 read = file.read(image.data(), image.size());
    if (read < 0)
        return fail(unreadable(path, errno), showMessages);
    image.truncate(read);

    if (const auto failure = judge(image.size(), headerOf(image)))
        return fail(*failure, showMessages);
    return CheckedImage{RomCheck::Ok, image};
}

ScannedImage ScanVbRomImage(const QString &path, qsizetype pieceBytes, const ImagePieceTaker &takePiece)
{
    auto opened = openImageFile(path);
    if (const Failure *failure = std::get_if<Failure>(&opened))
        return failed(failure->result);
    ImageFile &file = std::get<ImageFile>(opened);
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
