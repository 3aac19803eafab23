#include "SaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace savefile {
namespace {

FaultHook &faultHook()
{
    static FaultHook hook;
    return hook;
}

// The errno a test wants this step to fail with, or 0.
int injected(Step step)
{
    return faultHook() ? faultHook()(step) : 0;
}

SaveError failure(Step step, int code)
{
    return SaveError{step, code, ErrorText(code)};
}

// Runs one system call of `step` (answering -1 with errno set on failure),
// unless the test's hook fails it first; on failure sets `error`.
template <typename Call>
bool run(Step step, std::optional<SaveError> &error, Call call)
{
    if (const int code = injected(step)) {
        error = failure(step, code);
        return false;
    }
    ssize_t result;
    do
        result = ssize_t(call());
    while (result < 0 && errno == EINTR);
    if (result < 0) {
        error = failure(step, errno);
        return false;
    }
    return true;
}

bool writeAll(int fd, const QByteArray &bytes, qint64 offset, bool positioned, std::optional<SaveError> &error)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        ssize_t written = 0;
        const bool ok = run(Step::Write, error, [&] {
            written = positioned ? ::pwrite(fd, data, size_t(left), off_t(offset)) : ::write(fd, data, size_t(left));
            return written;
        });
        if (!ok)
            return false;
        if (written == 0) { // a regular file takes at least a byte unless it is out of room
            error = failure(Step::Write, ENOSPC);
            return false;
        }
        data += written;
        offset += written;
        left -= written;
    }
    return true;
}

// Closing can report the failure of a write the system deferred; an
// interrupted close has closed the file all the same.
bool closeFile(int fd, std::optional<SaveError> &error)
{
    if (const int code = injected(Step::Close)) {
        ::close(fd);
        error = failure(Step::Close, code);
        return false;
    }
    if (::close(fd) != 0 && errno != EINTR) {
        error = failure(Step::Close, errno);
        return false;
    }
    return true;
}

// Six letters and digits, at least one a digit: the start-up clean-up of the
// settings folder can then tell a killed save's copy from a name such as
// "registry.reg.backup" that a user gave a copy of their own.
QString randomSuffix()
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    auto *random = QRandomGenerator::global();
    QString suffix;
    for (int i = 0; i < 5; ++i)
        suffix += QLatin1Char(kLetters[random->bounded(int(sizeof kLetters - 1))]);
    suffix.insert(random->bounded(6), QLatin1Char(char('0' + random->bounded(10))));
    return suffix;
}

// What is at the path now, and where the new contents go.
struct Target {
    QString path;    // the file to replace (a link's target when written through)
    QString folder;  // where the temporary file goes: beside it
    bool exists = false;
    struct stat info {};
};

std::optional<SaveError> examine(const QString &path, Links links, Target &target)
{
    target.path = path;
    if (const int code = injected(Step::Check))
        return failure(Step::Check, code);
    if (::lstat(QFile::encodeName(path).constData(), &target.info) == 0) {
        target.exists = true;
        if (S_ISLNK(target.info.st_mode) && links == Links::WriteThrough) {
            char resolved[PATH_MAX];
            if (::realpath(QFile::encodeName(path).constData(), resolved)) {
                target.path = QFile::decodeName(resolved);
                ::stat(resolved, &target.info);
            }
        }
    } else if (errno != ENOENT) {
        return failure(Step::Check, errno);
    }
    target.folder = QFileInfo(target.path).absolutePath();

    if (!target.exists || S_ISLNK(target.info.st_mode))
        return std::nullopt; // a link that stays is replaced, never followed
    if (S_ISDIR(target.info.st_mode))
        return failure(Step::Check, EISDIR);
    if (!S_ISREG(target.info.st_mode))
        return SaveError{Step::Check, EINVAL, QStringLiteral("It is not a regular file.")};
    if (::faccessat(AT_FDCWD, QFile::encodeName(target.path).constData(), W_OK, AT_EACCESS) != 0)
        return failure(Step::Check, errno);
    return std::nullopt;
}

// A replaced file's owner (where we may set it) and mode pass to the new one.
bool takeOverMode(int fd, const Target &target, std::optional<SaveError> &error)
{
    if (!target.exists || !S_ISREG(target.info.st_mode))
        return true;
    struct stat own;
    if (::fstat(fd, &own) == 0 && (own.st_uid != target.info.st_uid || own.st_gid != target.info.st_gid)) {
        // Only root may give a file away: anyone else's new file stays their own.
        const int givenAway = ::fchown(fd, target.info.st_uid, target.info.st_gid);
        Q_UNUSED(givenAway);
    }
    return run(Step::CreateTemporary, error, [&] { return ::fchmod(fd, target.info.st_mode & 07777); });
}

// One try at a save through an unnamed temporary file (`unnamed`) or a named
// one. `tryNamed` is set when the unnamed road is closed here and the named
// one should be taken instead.
std::optional<SaveError> saveThrough(const Target &target, const QByteArray &bytes, bool unnamed, bool &tryNamed)
{
    std::optional<SaveError> error;
    const QByteArray folder = QFile::encodeName(target.folder);
    QByteArray temporary; // its name in the folder, once it has one
    int fd = -1;

    const auto giveUp = [&] {
        if (fd >= 0)
            ::close(fd);
        if (!temporary.isEmpty())
            ::unlink(temporary.constData());
        return error;
    };

    if (unnamed) {
        if (!run(Step::CreateTemporary, error,
                 [&] { return fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666); })) {
            // Kernels and file systems without unnamed files say so in one of these.
            tryNamed = error->code == EOPNOTSUPP || error->code == EISDIR || error->code == EINVAL;
            return giveUp();
        }
    } else {
        for (int attempt = 0; fd < 0; ++attempt) {
            temporary = QFile::encodeName(target.path + QLatin1Char('.') + randomSuffix());
            const bool made = run(Step::CreateTemporary, error, [&] {
                return fd = ::open(temporary.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0666);
            });
            if (!made) {
                temporary.clear();
                if (error->code != EEXIST || attempt == 100)
                    return giveUp();
            }
        }
    }

    if (!takeOverMode(fd, target, error) || !writeAll(fd, bytes, 0, false, error)
        || !run(Step::Sync, error, [&] { return ::fsync(fd); }))
        return giveUp();

    if (unnamed) {
        // An unnamed file gets a name only now that it is complete.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        for (int attempt = 0; temporary.isEmpty(); ++attempt) {
            const QByteArray name = QFile::encodeName(target.path + QLatin1Char('.') + randomSuffix());
            const bool linked = run(Step::Replace, error, [&] {
                return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW);
            });
            if (linked) {
                temporary = name;
            } else if (error->code != EEXIST || attempt == 100) {
                tryNamed = error->code == ENOENT; // no /proc to name it through
                return giveUp();
            }
        }
    }

    const int closing = std::exchange(fd, -1);
    if (!closeFile(closing, error))
        return giveUp();
    if (!run(Step::Replace, error,
             [&] { return ::rename(temporary.constData(), QFile::encodeName(target.path).constData()); }))
        return giveUp();

    // Make the rename itself last; it has happened, so a failure here changes nothing.
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return std::nullopt;
}

} // namespace

std::optional<SaveError> SaveWhole(const QString &path, const QByteArray &bytes, Links links)
{
    Target target;
    if (auto refused = examine(path, links, target))
        return refused;
    bool tryNamed = false;
    auto error = saveThrough(target, bytes, true, tryNamed);
    if (error && tryNamed)
        error = saveThrough(target, bytes, false, tryNamed);
    return error;
}

std::optional<SaveError> WriteInPlace(const QString &path, qint64 offset, const QByteArray &bytes)
{
    std::optional<SaveError> error;
    int fd = -1;
    // Non-blocking so that a pipe can't hold the open; only a regular file is written.
    if (!run(Step::OpenFile, error, [&] {
            return fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        }))
        return error;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return SaveError{Step::OpenFile, EINVAL, QStringLiteral("It is not a regular file.")};
    }
    if (offset < 0 || offset + bytes.size() > info.st_size) {
        ::close(fd);
        return SaveError{Step::Write, EINVAL, QStringLiteral("The file is shorter than the data to write.")};
    }
    if (!writeAll(fd, bytes, offset, true, error) || !run(Step::Sync, error, [&] { return ::fsync(fd); })) {
        ::close(fd);
        return error;
    }
    if (!closeFile(fd, error))
        return error;
    return std::nullopt;
}

QString ErrorText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

void SetFaultHook(FaultHook hook)
{
    faultHook() = std::move(hook);
}

} // namespace savefile
