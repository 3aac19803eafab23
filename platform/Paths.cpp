#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paths {
namespace {

QString g_programFolder;
QString g_windowsFolder;
QString g_fontsFolder;

QString withoutTrailingSlash(QString dir)
{
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

} // namespace

QString AppendFileToDir(const QString &dir, const QString &fileName)
{
    if (dir.isEmpty() || dir.endsWith(QLatin1Char('/')))
        return dir + fileName;
    return dir + QLatin1Char('/') + fileName;
}

QString FindFileNoCase(const QString &dir, const QString &fileName)
{
    // Links followed: a pipe, a device or a socket is no file to find.
    const auto isRegularFile = [&dir](const QString &name) { return IsFile(AppendFileToDir(dir, name)); };
    if (isRegularFile(fileName))
        return AppendFileToDir(dir, fileName);
    // Listed by the names' real bytes, in name order so that the same file wins each time.
    QStringList names;
    for (const FolderEntry &entry : ListFolder(dir))
        if (entry.name.compare(fileName, Qt::CaseInsensitive) == 0 && isRegularFile(entry.name))
            names << entry.name;
    return names.isEmpty() ? QString() : AppendFileToDir(dir, *std::min_element(names.cbegin(), names.cend()));
}

bool FileExistsNoCase(const QString &dir, const QString &fileName)
{
    return !FindFileNoCase(dir, fileName).isEmpty();
}

namespace {

constexpr char16_t kEscapedByte = 0xDC00;

// The length of the valid UTF-8 sequence at `p` (of `left` bytes), or 0.
int utf8SequenceLength(const uchar *p, qsizetype left, char32_t &code)
{
    const uchar b = p[0];
    int length;
    char32_t min;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2, code = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3, code = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4, code = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    if (code < min || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}

} // namespace

QString DecodeFileName(const QByteArray &name)
{
    QString text;
    text.reserve(name.size());
    const auto *bytes = reinterpret_cast<const uchar *>(name.constData());
    for (qsizetype i = 0; i < name.size();) {
        char32_t code;
        if (bytes[i] < 0x80) {
            text += QChar(bytes[i++]);
        } else if (const int length = utf8SequenceLength(bytes + i, name.size() - i, code)) {
            // Built by hand: a converter would drop a byte-order mark.
            if (QChar::requiresSurrogates(code)) {
                text += QChar(QChar::highSurrogate(code));
                text += QChar(QChar::lowSurrogate(code));
            } else {
                text += QChar(char16_t(code));
            }
            i += length;
        } else {
            text += QChar(char16_t(kEscapedByte + bytes[i++]));
        }
    }
    return text;
}

QByteArray EncodeFileName(const QString &path)
{
    QByteArray name;
    name.reserve(path.size());
    qsizetype plainFrom = 0;
    const auto flushPlain = [&](qsizetype to) { name += QStringView(path).sliced(plainFrom, to - plainFrom).toUtf8(); };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t u = path.at(i).unicode();
        const bool pairedLow = i > 0 && path.at(i - 1).isHighSurrogate();
        if (u >= kEscapedByte + 0x80 && u <= kEscapedByte + 0xFF && !pairedLow) {
            flushPlain(i);
            name += char(u - kEscapedByte);
            plainFrom = i + 1;
        }
    }
    flushPlain(path.size());
    return name;
}

QList<FolderEntry> ListFolder(const QString &folder)
{
    QList<FolderEntry> entries;
    const QByteArray native = EncodeFileName(folder);
    DIR *dir = ::opendir(native.isEmpty() ? "." : native.constData());
    if (!dir)
        return entries;
    const int dirFd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat info;
        if (::fstatat(dirFd, name.constData(), &info, 0) != 0)
            continue; // a link to nothing, or gone meanwhile
        entries.append({DecodeFileName(name), S_ISDIR(info.st_mode), qint64(info.st_size)});
    }
    ::closedir(dir);
    return entries;
}

namespace {

bool statOf(const QString &path, struct stat &info)
{
    return !path.isEmpty() && ::stat(EncodeFileName(path).constData(), &info) == 0;
}

// A folder named by an environment variable, by its bytes; "" when it is
// unset or not an absolute path.
QString folderFromEnvironment(const char *variable)
{
    const QByteArray value = qgetenv(variable);
    return value.startsWith('/') ? withoutTrailingSlash(DecodeFileName(value)) : QString();
}

QByteArray randomLetters()
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray letters;
    for (int i = 0; i < 6; ++i)
        letters += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
    return letters;
}

// Removes what `name` is in the open folder `folderFd`, a folder with all it holds.
bool removeAt(int folderFd, const char *name)
{
    if (::unlinkat(folderFd, name, 0) == 0 || errno == ENOENT)
        return true;
    if (errno != EISDIR && errno != EPERM)
        return false;
    const int fd = ::openat(folderFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    bool emptied = true;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArrayView entryName(entry->d_name);
        if (entryName != "." && entryName != "..")
            emptied = removeAt(::dirfd(dir), entry->d_name) && emptied;
    }
    ::closedir(dir);
    return emptied && ::unlinkat(folderFd, name, AT_REMOVEDIR) == 0;
}

} // namespace

bool Exists(const QString &path)
{
    struct stat info;
    return statOf(path, info);
}

bool IsFolder(const QString &path)
{
    struct stat info;
    return statOf(path, info) && S_ISDIR(info.st_mode);
}

bool IsFile(const QString &path)
{
    struct stat info;
    return statOf(path, info) && S_ISREG(info.st_mode);
}

bool IsExecutable(const QString &path)
{
    return !path.isEmpty() && ::faccessat(AT_FDCWD, EncodeFileName(path).constData(), X_OK, AT_EACCESS) == 0;
}

QString CurrentFolder()
{
    QByteArray buffer(PATH_MAX, Qt::Uninitialized);
    while (!::getcwd(buffer.data(), size_t(buffer.size()))) {
        if (errno != ERANGE)
            return QString();
        buffer.resize(buffer.size() * 2);
    }
    return DecodeFileName(QByteArray(buffer.constData()));
}

bool MakeCurrentFolder(const QString &folder)
{
    return !folder.isEmpty() && ::chdir(EncodeFileName(folder).constData()) == 0;
}

QString AbsolutePath(const QString &path)
{
    if (path.isEmpty())
        return path;
    // Cleaning works on the text alone, so a name's stray bytes stay as they are.
    return QDir::cleanPath(path.startsWith(QLatin1Char('/')) ? path : AppendFileToDir(CurrentFolder(), path));
}

QString FileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString FolderOf(const QString &path)
{
    const QString absolute = AbsolutePath(path);
    const qsizetype slash = absolute.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : absolute.left(slash);
}

bool MakeFolders(const QString &folder)
{
    if (folder.isEmpty() || IsFolder(folder))
        return !folder.isEmpty();
    const QString absolute = AbsolutePath(folder);
    const QString above = FolderOf(absolute);
    if (above != absolute && !MakeFolders(above))
        return false;
    return ::mkdir(EncodeFileName(absolute).constData(), 0777) == 0 || (errno == EEXIST && IsFolder(absolute));
}

bool RemoveFile(const QString &path)
{
    return !path.isEmpty() && ::unlink(EncodeFileName(path).constData()) == 0;
}

bool RemoveFolderTree(const QString &folder)
{
    return !folder.isEmpty() && removeAt(AT_FDCWD, EncodeFileName(folder).constData());
}

namespace {

RenameHook &renameHook()
{
    static RenameHook hook;
    return hook;
}

// Runs one step's call of the rename of `from` to `to` (-1 with errno set on
// failure), unless the test's hook fails it first; true when it succeeded.
template <typename Call>
bool renameStep(RenameStep step, const QString &from, const QString &to, Call call)
{
    if (renameHook())
        if (const int code = renameHook()(step, from, to)) {
            errno = code;
            return false;
        }
    return call() == 0;
}

// The errnos of a file system without the no-replace rename, and of one
// without hard links (EPERM is also a link the system's rules forbid: the
// next way serves there too).
bool lacksNoReplaceRename(int code)
{
    return code == EINVAL || code == ENOSYS || code == EOPNOTSUPP;
}

bool refusesLinks(int code)
{
    return code == EPERM || code == ENOSYS || code == EOPNOTSUPP;
}

} // namespace

int RenameWithoutReplacing(const QString &from, const QString &to)
{
    const QByteArray source = EncodeFileName(from);
    const QByteArray target = EncodeFileName(to);
    if (renameStep(RenameStep::NoReplaceRename, from, to, [&] {
            return ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
        }))
        return 0;
    if (!lacksNoReplaceRename(errno))
        return errno;
    if (renameStep(RenameStep::Link, from, to, [&] { return ::link(source.constData(), target.constData()); })) {
        if (::unlink(source.constData()) == 0)
            return 0;
        const int error = errno;
        ::unlink(target.constData());
        return error;
    }
    if (!refusesLinks(errno))
        return errno;
    // No hard links either (vfat, some FUSE file systems): the name is
    // reserved first, and the rename then replaces only that empty file.
    if (!renameStep(RenameStep::Reserve, from, to, [&] {
            const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            return fd < 0 ? -1 : ::close(fd);
        }))
        return errno;
    if (renameStep(RenameStep::Rename, from, to, [&] { return ::rename(source.constData(), target.constData()); }))
        return 0;
    const int error = errno;
    ::unlink(target.constData());
    return error;
}

void SetRenameHook(RenameHook hook)
{
    renameHook() = std::move(hook);
}

int CreateFileBeside(const QString &target, const QString &prefix, QString &created)
{
    const QString folder = FolderOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = AppendFileToDir(folder, prefix + QString::fromLatin1(randomLetters()));
        const int fd = ::open(EncodeFileName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              0600);
        if (fd >= 0) {
            created = path;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

QString CreateTemporaryFolder(const QString &prefix)
{
    QByteArray pattern = EncodeFileName(AppendFileToDir(TemporaryFolder(), prefix)) + "XXXXXX";
    return ::mkdtemp(pattern.data()) ? DecodeFileName(pattern) : QString();
}

QString HomeFolder()
{
    if (const QString home = folderFromEnvironment("HOME"); !home.isEmpty())
        return home;
    if (const passwd *user = ::getpwuid(::getuid()); user && user->pw_dir && user->pw_dir[0] == '/')
        return withoutTrailingSlash(DecodeFileName(user->pw_dir));
    return QStringLiteral("/");
}

QString ConfigFolder()
{
    const QString configured = folderFromEnvironment("XDG_CONFIG_HOME");
    return configured.isEmpty() ? AppendFileToDir(HomeFolder(), QStringLiteral(".config")) : configured;
}

QString TemporaryFolder()
{
    const QString configured = folderFromEnvironment("TMPDIR");
    return configured.isEmpty() ? QStringLiteral("/tmp") : configured;
}

QString ProgramFolder()
{
    if (!g_programFolder.isEmpty())
        return g_programFolder;
    // The running program's own file, by its real bytes: an install in a
    // folder whose name is not UTF-8 still finds Zandrel.dll and its fonts.
    QByteArray self(PATH_MAX, Qt::Uninitialized);
    const ssize_t length = ::readlink("/proc/self/exe", self.data(), size_t(self.size()));
    if (length > 0 && length < self.size() && self.startsWith('/'))
        return FolderOf(DecodeFileName(self.left(length)));
    return withoutTrailingSlash(QCoreApplication::applicationDirPath());
}

QString WindowsFolder()
{
    if (!g_windowsFolder.isEmpty())
        return g_windowsFolder;
    return ProgramFolder();
}

QString FontsFolder()
{
    if (!g_fontsFolder.isEmpty())
        return g_fontsFolder;
    return AppendFileToDir(ProgramFolder(), QStringLiteral("fonts"));
}

void OverrideProgramFolder(const QString &dir) { g_programFolder = withoutTrailingSlash(dir); }
void OverrideWindowsFolder(const QString &dir) { g_windowsFolder = withoutTrailingSlash(dir); }
void OverrideFontsFolder(const QString &dir) { g_fontsFolder = withoutTrailingSlash(dir); }

} // namespace paths
