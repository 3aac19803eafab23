#include "RomFileSystem.h"

#include "GuardedFile.h"
#include "Paths.h"
#include "SaveFile.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <variant>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace romdb {
namespace {

constexpr qint64 kCopyBlock = 1 << 20;

// Compares two open files from their starts, block by block.
bool SameBytes(guardedfile::File &a, guardedfile::File &b)
{
    if (a.length() != b.length())
        return false;
    QByteArray left(kCopyBlock, Qt::Uninitialized);
    QByteArray right(kCopyBlock, Qt::Uninitialized);
    for (qint64 offset = 0;; offset += kCopyBlock) {
        const qint64 got = a.readAt(offset, left.data(), kCopyBlock);
        if (got < 0 || b.readAt(offset, right.data(), kCopyBlock) != got)
            return false;
        if (got == 0)
            return true;
        if (std::memcmp(left.constData(), right.constData(), size_t(got)) != 0)
            return false;
    }
}

std::variant<guardedfile::File, guardedfile::Failure> openGuarded(const QString &path)
{
    return guardedfile::Open(path, std::numeric_limits<qint64>::max(), QString());
}

} // namespace

QStringList ListRomFiles(const QString &folder)
{
    QStringList names;
    for (const paths::FolderEntry &entry : paths::ListFolder(folder)) {
        // Hidden names stay out, as in any listing of the folder. Anything but
        // a folder is listed: a device or a pipe named like a ROM is
        // identified as no image.
        if (!entry.isFolder && !entry.name.startsWith(QLatin1Char('.'))
            && entry.name.endsWith(QLatin1String(".vb"), Qt::CaseInsensitive))
            names << entry.name;
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int byCase = a.compare(b, Qt::CaseInsensitive);
        return byCase != 0 ? byCase < 0 : a < b;
    });
    return names;
}

bool RomFileSystem::exists(const QString &path) const
{
    struct stat info;
    return ::lstat(paths::EncodeFileName(path).constData(), &info) == 0;
}

bool RomFileSystem::isFolder(const QString &path) const
{
    struct stat info;
    return ::lstat(paths::EncodeFileName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool RomFileSystem::isLink(const QString &path) const
{
    struct stat info;
    return ::lstat(paths::EncodeFileName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool RomFileSystem::sameContents(const QString &a, const QString &b) const
{
    // A link is not the file itself: only two real files can be the same.
    const auto regular = [](const QString &path) {
        struct stat info;
        return ::lstat(paths::EncodeFileName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
    };
    if (!regular(a) || !regular(b))
        return false;
    auto left = openGuarded(a);
    auto right = openGuarded(b);
    auto *leftFile = std::get_if<guardedfile::File>(&left);
    auto *rightFile = std::get_if<guardedfile::File>(&right);
    return leftFile && rightFile && SameBytes(*leftFile, *rightFile);
}

bool RomFileSystem::removeFile(const QString &path, QString &error)
{
    if (::unlink(paths::EncodeFileName(path).constData()) == 0)
        return true;
    error = savefile::ErrorText(errno);
    return false;
}

bool RomFileSystem::makeFolder(const QString &path, QString &error)
{
    if (::mkdir(paths::EncodeFileName(path).constData(), 0777) == 0)
        return true;
    error = savefile::ErrorText(errno);
    return false;
}

bool RomFileSystem::removeFolder(const QString &path, QString &error)
{
    if (::rmdir(paths::EncodeFileName(path).constData()) == 0)
        return true;
    error = savefile::ErrorText(errno);
    return false;
}

bool RomFileSystem::MoveRomFile(const QString &source, const QString &target, bool replace, QString &error)
{
    const int result = renameFile(source, target, replace);
    if (result == 0)
        return true;
    if (result == EXDEV)
        return copyThenDelete(source, target, replace, error);
    error = savefile::ErrorText(result);
    return false;
}

int RomFileSystem::renameFile(const QString &source, const QString &target, bool replace)
{
    if (!replace)
        return paths::RenameWithoutReplacing(source, target);
    return ::rename(paths::EncodeFileName(source).constData(), paths::EncodeFileName(target).constData()) == 0 ? 0 : errno;
}

bool RomFileSystem::copyThenDelete(const QString &source, const QString &target, bool replace, QString &error)
{
    // Opened by its real bytes (its name need not be UTF-8), and only as a
    // regular file.
    auto opened = openGuarded(source);
    if (const auto *failure = std::get_if<guardedfile::Failure>(&opened)) {
        error = failure->kind == guardedfile::Failure::Kind::Missing ? savefile::ErrorText(ENOENT) : failure->reason;
        return false;
    }
    guardedfile::File &in = std::get<guardedfile::File>(opened);
    // The copy lies beside the target, so its rename into place stays on one
    // file system; until then it goes again whatever fails.
    QString copyPath;
    int fd = paths::CreateFileBeside(target, QStringLiteral(".romcopy-"), copyPath);
    if (fd < 0) {
        error = savefile::ErrorText(errno);
        return false;
    }
    const auto giveUp = [&](const QString &why) {
        error = why;
        if (fd >= 0)
            ::close(fd);
        paths::RemoveFile(copyPath);
        return false;
    };
    QByteArray block(kCopyBlock, Qt::Uninitialized);
    for (qint64 offset = 0;; offset += kCopyBlock) {
        const qint64 got = in.readAt(offset, block.data(), kCopyBlock);
        if (got < 0)
            return giveUp(savefile::ErrorText(errno));
        if (got == 0)
            break;
        for (qint64 done = 0; done < got;) {
            const ssize_t written = ::write(fd, block.constData() + done, size_t(got - done));
            if (written < 0 && errno != EINTR)
                return giveUp(savefile::ErrorText(errno));
            done += std::max<ssize_t>(written, 0);
        }
    }
    if (::fsync(fd) != 0)
        return giveUp(QStringLiteral("the copy could not be verified"));
    auto written = openGuarded(copyPath);
    auto *writtenFile = std::get_if<guardedfile::File>(&written);
    if (!writtenFile || !SameBytes(in, *writtenFile))
        return giveUp(QStringLiteral("the copy could not be verified"));
    struct stat sourceInfo;
    if (::stat(paths::EncodeFileName(source).constData(), &sourceInfo) == 0)
        ::fchmod(fd, sourceInfo.st_mode & 07777);
    if (::close(std::exchange(fd, -1)) != 0)
        return giveUp(savefile::ErrorText(errno));
    // A file to be replaced steps aside under a name of our own until the
    // source is gone, so that a failure can put it back.
    QString kept;
    if (replace) {
        const int keptFd = paths::CreateFileBeside(target, QStringLiteral(".romkept-"), kept);
        if (keptFd < 0)
            return giveUp(savefile::ErrorText(errno));
        ::close(keptFd);
        // Over the empty file just made: no other file can be replaced.
        if (const int moved = renameFile(target, kept, true); moved != 0) {
            paths::RemoveFile(kept);
            if (moved != ENOENT)
                return giveUp(savefile::ErrorText(moved));
            kept.clear(); // nothing there to replace
        }
    }
    // Puts the replaced file back in place of what is at the target now.
    const auto putKeptBack = [&](bool overCopy) {
        if (!kept.isEmpty() && renameFile(kept, target, overCopy) != 0)
            error += QStringLiteral("; the file it was to replace is kept as ") + kept;
    };
    if (const int placed = renameFile(copyPath, target, false); placed != 0) {
        giveUp(savefile::ErrorText(placed));
        putKeptBack(false);
        return false;
    }
    if (QString why; !removeFile(source, why)) {
        // The ROM must exist once: the copy goes, and what it replaced comes back.
        error = QStringLiteral("the source could not be deleted: ") + why;
        if (kept.isEmpty())
            paths::RemoveFile(target);
        else
            putKeptBack(true);
        return false;
    }
    if (!kept.isEmpty())
        paths::RemoveFile(kept);
    return true;
}

RomFileSystem &RealFileSystem()
{
    static RomFileSystem fileSystem;
    return fileSystem;
}

} // namespace romdb
