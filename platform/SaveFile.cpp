#include "SaveFile.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "GuardedFile.h"
#include "Paths.h"

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

// A save's copy is "<name>.zandrel-save-" and six letters and digits: plainly
// ours to a user who meets one, and told apart from any name a user would
// give a copy of their own. A long name is cut so that the copy's fits.
const QByteArray kCopyTag = QByteArrayLiteral(".zandrel-save-");
constexpr int kCopySuffixSize = 6;

QByteArray copyPrefix(const QByteArray &fileName)
{
    return fileName.left(NAME_MAX - kCopyTag.size() - kCopySuffixSize) + kCopyTag;
}

QByteArray randomSuffix()
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    auto *random = QRandomGenerator::global();
    QByteArray suffix;
    for (int i = 0; i < kCopySuffixSize; ++i)
        suffix += kLetters[random->bounded(int(sizeof kLetters - 1))];
    return suffix;
}

bool isCopySuffix(QByteArrayView suffix)
{
    const auto letterOrDigit = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    };
    return suffix.size() == kCopySuffixSize && std::all_of(suffix.begin(), suffix.end(), letterOrDigit);
}

// A save holds the kernel's lock on its copy from before the copy has a name
// until it has replaced the file, and the lock ends with the process: a copy
// whose lock can be taken is one a killed save left.
bool holdCopy(int fd)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno != EWOULDBLOCK; // a file system without these locks: go on unheld
    // A cleaner that took the lock first has removed the name.
    struct stat info;
    return ::fstat(fd, &info) == 0 && info.st_nlink > 0;
}

// Removes the copies that killed saves of the file `fileName` left in
// `folder`: regular files of a copy's name whose lock no save holds.
void clearCopiesIn(const QByteArray &folder, const QByteArray &fileName)
{
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return;
    DIR *listing = ::fdopendir(folderFd);
    if (!listing) {
        ::close(folderFd);
        return;
    }
    const QByteArray prefix = copyPrefix(fileName);
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArrayView name(entry->d_name);
        if (!name.startsWith(prefix) || !isCopySuffix(name.sliced(prefix.size())))
            continue;
        struct stat named;
        if (::fstatat(folderFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode))
            continue;
        const int fd = ::openat(folderFd, entry->d_name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened;
        if (::fstat(fd, &opened) == 0 && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(folderFd, entry->d_name, 0);
        ::close(fd); // releases the lock
    }
    ::closedir(listing);
}

// What is at the path now, and where the new contents go.
struct Target {
    QString path;    // the file to replace (a link's target when written through)
    QString folder;  // where the temporary file goes: beside it
    bool exists = false;
    struct stat info {};

    QByteArray native() const { return paths::EncodeFileName(path); }
    QByteArray nativeFolder() const { return paths::EncodeFileName(folder); }
    QByteArray fileName() const { return paths::EncodeFileName(paths::FileNameOf(path)); }
    // A fresh name for a copy of the file, beside it.
    QByteArray copyName() const { return nativeFolder() + '/' + copyPrefix(fileName()) + randomSuffix(); }
};

std::optional<SaveError> examine(const QString &path, Links links, Target &target)
{
    target.path = path;
    if (const int code = injected(Step::Check))
        return failure(Step::Check, code);
    if (::lstat(target.native().constData(), &target.info) == 0) {
        target.exists = true;
        if (S_ISLNK(target.info.st_mode) && links == Links::WriteThrough) {
            char resolved[PATH_MAX];
            if (::realpath(target.native().constData(), resolved)) {
                target.path = paths::DecodeFileName(resolved);
                ::stat(resolved, &target.info);
            }
        }
    } else if (errno != ENOENT) {
        return failure(Step::Check, errno);
    }
    target.folder = paths::FolderOf(target.path);

    if (!target.exists || S_ISLNK(target.info.st_mode))
        return std::nullopt; // a link that stays is replaced, never followed
    if (S_ISDIR(target.info.st_mode))
        return failure(Step::Check, EISDIR);
    if (!S_ISREG(target.info.st_mode))
        return SaveError{Step::Check, EINVAL, QStringLiteral("It is not a regular file.")};
    if (::faccessat(AT_FDCWD, target.native().constData(), W_OK, AT_EACCESS) != 0)
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
    const QByteArray folder = target.nativeFolder();
    QByteArray temporary; // its name in the folder, once it has one
    int fd = -1;
    int held = -1; // keeps the lock on the copy from its close to its rename

    const auto giveUp = [&] {
        if (!temporary.isEmpty())
            ::unlink(temporary.constData());
        if (fd >= 0)
            ::close(fd);
        if (held >= 0)
            ::close(held);
        return error;
    };

    if (unnamed) {
        if (!run(Step::CreateTemporary, error,
                 [&] { return fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666); })) {
            // Kernels and file systems without unnamed files say so in one of these.
            tryNamed = error->code == EOPNOTSUPP || error->code == EISDIR || error->code == EINVAL;
            return giveUp();
        }
        holdCopy(fd); // nobody else can reach it yet
    } else {
        for (int attempt = 0; fd < 0; ++attempt) {
            temporary = target.copyName();
            const bool made = run(Step::CreateTemporary, error, [&] {
                return fd = ::open(temporary.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0666);
            });
            if (!made) {
                temporary.clear();
                if (error->code != EEXIST || attempt == 100)
                    return giveUp();
            } else if (!holdCopy(fd)) {
                // Taken for a killed save's copy in the instant before its lock: it goes, we take another.
                ::close(std::exchange(fd, -1));
                temporary.clear();
                if (attempt == 100) {
                    error = failure(Step::CreateTemporary, EBUSY);
                    return giveUp();
                }
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
            const QByteArray name = target.copyName();
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

    held = ::dup(fd);
    const int closing = std::exchange(fd, -1);
    if (!closeFile(closing, error))
        return giveUp();
    if (!run(Step::Replace, error, [&] { return ::rename(temporary.constData(), target.native().constData()); }))
        return giveUp();
    temporary.clear();
    if (held >= 0)
        ::close(held);

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
    // Killed saves' copies go first: on a full disk their room may be what this save needs.
    clearCopiesIn(target.nativeFolder(), target.fileName());
    bool tryNamed = false;
    auto error = saveThrough(target, bytes, true, tryNamed);
    if (error && tryNamed)
        error = saveThrough(target, bytes, false, tryNamed);
    return error;
}

void ClearLeftovers(const QString &path, Links links)
{
    Target target;
    examine(path, links, target); // a file that can't be saved now may still have copies beside it
    if (!target.folder.isEmpty())
        clearCopiesIn(target.nativeFolder(), target.fileName());
}

std::optional<SaveError> WriteInPlace(const QString &path, qint64 offset, const QByteArray &bytes)
{
    std::optional<SaveError> error;
    const QByteArray native = paths::EncodeFileName(path);
    // Only a regular file is written, and what is there is looked at before
    // it is opened: opening a device or a pipe can act on it.
    struct stat info;
    if (!run(Step::Check, error, [&] { return ::stat(native.constData(), &info); }))
        return error;
    if (const QString reason = guardedfile::NotAFileReason(info.st_mode); !reason.isEmpty())
        return SaveError{Step::Check, EINVAL, reason};
    // Should something else be swapped in meanwhile, the open neither waits
    // nor makes a terminal ours, and what was opened is looked at again.
    int fd = -1;
    if (!run(Step::OpenFile, error,
             [&] { return fd = ::open(native.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); }))
        return error;
    if (!run(Step::OpenFile, error, [&] { return ::fstat(fd, &info); })) {
        ::close(fd);
        return error;
    }
    if (const QString reason = guardedfile::NotAFileReason(info.st_mode); !reason.isEmpty()) {
        ::close(fd);
        return SaveError{Step::OpenFile, EINVAL, reason};
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
