#include "GuardedFile.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "Paths.h"
#include "SaveFile.h"

namespace guardedfile {
namespace {

Failure systemFailure(int code)
{
    return Failure{Failure::Kind::System, code, savefile::ErrorText(code)};
}

std::optional<Failure> refusal(mode_t mode)
{
    if (const QString reason = NotAFileReason(mode); !reason.isEmpty())
        return Failure{Failure::Kind::NotAFile, 0, reason};
    return std::nullopt;
}

// Reads are of whole pages where they can be: some files under /proc take no
// other size.
constexpr qint64 kPage = 4096;

// Reads up to `count` bytes of `file`, or the failure of a read. The buffer
// grows with what comes, from the length the file reports, so a large limit
// costs nothing for a small file.
std::variant<QByteArray, Failure> readUpTo(File &file, qint64 count)
{
    const auto pages = [](qint64 bytes) { return (bytes + kPage - 1) / kPage * kPage; };
    const qint64 largest = pages(count);
    QByteArray bytes;
    qint64 done = 0;
    for (qint64 capacity = std::min(largest, pages(file.length() + 1));; capacity = std::min(largest, capacity * 2)) {
        bytes.resize(qsizetype(capacity));
        const qint64 read = file.read(bytes.data() + done, capacity - done);
        if (read < 0)
            return systemFailure(errno);
        done += read;
        if (done < capacity || capacity == largest)
            break;
    }
    bytes.truncate(qsizetype(std::min(done, count)));
    return bytes;
}

} // namespace

QString NotAFileReason(mode_t mode)
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

File::File(File &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)), m_length(other.m_length) {}

File::~File()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 File::read(char *to, qint64 size)
{
    return readFrom(-1, to, size);
}

qint64 File::readAt(qint64 offset, char *to, qint64 size)
{
    return readFrom(offset, to, size);
}

qint64 File::readFrom(qint64 offset, char *to, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = offset < 0 ? ::read(m_fd, to + done, size_t(size - done))
                                     : ::pread(m_fd, to + done, size_t(size - done), off_t(offset + done));
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

std::variant<File, Failure> Open(const QString &path, qint64 largest, const QString &tooLarge)
{
    if (path.isEmpty())
        return Failure{};
    const QByteArray native = paths::EncodeFileName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Failure{} : systemFailure(errno);
    if (auto refused = refusal(info.st_mode))
        return *refused;

    File file(::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY), 0);
    if (!file.isOpen())
        return errno == ENOENT ? Failure{} : systemFailure(errno);
    if (::fstat(file.m_fd, &info) != 0)
        return systemFailure(errno);
    if (auto refused = refusal(info.st_mode))
        return *refused;
    if (info.st_size > largest)
        return Failure{Failure::Kind::TooLarge, 0, tooLarge};
    file.m_length = info.st_size;
    return file;
}

std::variant<QByteArray, Failure> ReadWhole(const QString &path, qint64 largest, const QString &tooLarge)
{
    auto opened = Open(path, largest, tooLarge);
    if (Failure *failure = std::get_if<Failure>(&opened))
        return *failure;
    // A byte beyond what the format holds tells a file that goes on.
    auto read = readUpTo(std::get<File>(opened), largest + 1);
    if (const QByteArray *bytes = std::get_if<QByteArray>(&read); bytes && bytes->size() > largest)
        return Failure{Failure::Kind::TooLarge, 0, tooLarge};
    return read;
}

std::variant<QByteArray, Failure> ReadStart(const QString &path, qint64 count)
{
    auto opened = Open(path, std::numeric_limits<qint64>::max(), QString());
    if (Failure *failure = std::get_if<Failure>(&opened))
        return *failure;
    return readUpTo(std::get<File>(opened), count);
}

} // namespace guardedfile
