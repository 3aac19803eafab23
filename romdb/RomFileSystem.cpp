#include "RomFileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "Paths.h"
#include "SaveFile.h"

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace romdb {
namespace {

constexpr qint64 kCopyBlock = 1 << 20;

// Compares two open files from their starts, block by block.
bool SameBytes(QFile &a, QFile &b)
{
    if (a.size() != b.size() || !a.seek(0) || !b.seek(0))
        return false;
    while (!a.atEnd()) {
        const QByteArray left = a.read(kCopyBlock);
        if (left.isEmpty() || left != b.read(left.size()))
            return false;
    }
    return true;
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
    const auto regular = [](const QString &path) {
        struct stat info;
        return ::lstat(paths::EncodeFileName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
    };
    if (!regular(a) || !regular(b))
        return false;
    QFile left(a);
    QFile right(b);
    return left.open(QIODevice::ReadOnly) && right.open(QIODevice::ReadOnly) && SameBytes(left, right);
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
    const QByteArray from = paths::EncodeFileName(source);
    const QByteArray to = paths::EncodeFileName(target);
    if (replace)
        return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without the no-replace flag: look first.
    if (exists(target))
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

bool RomFileSystem::copyThenDelete(const QString &source, const QString &target, bool replace, QString &error)
{
    // Opened by its real bytes: its name need not be UTF-8.
    QFile in;
    const int sourceFd = ::open(paths::EncodeFileName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (sourceFd < 0) {
        error = savefile::ErrorText(errno);
        return false;
    }
    if (!in.open(sourceFd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(sourceFd);
        error = in.errorString();
        return false;
    }
    QTemporaryFile copy(QFileInfo(target).absolutePath() + QStringLiteral("/.romcopy-XXXXXX"));
    if (!copy.open()) {
        error = copy.errorString();
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray block = in.read(kCopyBlock);
        if (block.isEmpty() || copy.write(block) != block.size()) {
            error = in.error() != QFileDevice::NoError ? in.errorString() : copy.errorString();
            return false;
        }
    }
    if (!copy.flush() || ::fsync(copy.handle()) != 0 || !SameBytes(in, copy)) {
        error = QStringLiteral("the copy could not be verified");
        return false;
    }
    copy.setPermissions(in.permissions());
    const QString copyPath = copy.fileName();
    copy.close();
    // The copy lies beside the target, so this rename stays on one file system.
    const int placed = renameFile(copyPath, target, replace);
    if (placed != 0) {
        error = savefile::ErrorText(placed);
        return false;
    }
    copy.setAutoRemove(false);
    in.close();
    if (::unlink(paths::EncodeFileName(source).constData()) != 0) {
        // The ROM must exist once: take the copy back out.
        error = QStringLiteral("the source could not be deleted");
        QFile::remove(target);
        return false;
    }
    return true;
}

RomFileSystem &RealFileSystem()
{
    static RomFileSystem fileSystem;
    return fileSystem;
}

} // namespace romdb
