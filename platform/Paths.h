#pragma once
// File-system conventions of the program on Linux: joining a folder and a
// file name, case-blind look-ups of the file names the program knows in
// upper or mixed case, and the folders of the program's own install.
//
// The rule for every path: a name on Linux is bytes, and need not be UTF-8
// (a "caf\xE9.vb" from an old archive, a folder "roms\xE9"). A path that a
// user chose, typed, or that a listing produced reaches the file system only
// through the functions here (or through EncodeFileName), and is stored in
// the settings as the text DecodeFileName gives. Qt's file classes (QFile,
// QFileInfo, QDir, QTemporaryFile, QStandardPaths, QDir::currentPath,
// QString::toUtf8 and QFile::encodeName of a path) spell a stray byte as
// U+FFFD and so reach another file: they serve only the program's own fixed
// files (its resources and its install).

#include <QList>
#include <QString>

#include <functional>

namespace paths {

// The root "/" (or any folder that already ends in "/") is followed directly
// by the file name, any other folder by "/"; an empty folder gives the bare
// name (the current folder).
QString AppendFileToDir(const QString &dir, const QString &fileName);

// The path of the regular file in `dir` whose name equals `fileName` ignoring
// letter case, or an empty string when there is none. An exact match wins.
QString FindFileNoCase(const QString &dir, const QString &fileName);

// True when FindFileNoCase finds the file.
bool FileExistsNoCase(const QString &dir, const QString &fileName);

// File names as the file system holds them (bytes, UTF-8 as a rule) and as
// text. A byte that is not part of valid UTF-8 (a Latin-1 name from an old
// archive) becomes the lone surrogate U+DC80-U+DCFF of its value, shown as a
// replacement character, and EncodeFileName turns it back into that very
// byte: a listed file is reached by its real name. Text without such
// characters encodes as UTF-8.
QString DecodeFileName(const QByteArray &name);
QByteArray EncodeFileName(const QString &path);

// One entry of a folder as ListFolder finds it.
struct FolderEntry {
    QString name; // decoded by DecodeFileName: it encodes back to the real bytes
    bool isFolder = false;
    qint64 size = 0;
};

// The entries of `folder` (links followed; "." and "..", and links to
// nothing, left out), names that
// are not UTF-8 among them, in the order the folder gives them; empty for a
// folder that can't be read. Every listing of the program goes through here,
// so what one window lists another can open.
QList<FolderEntry> ListFolder(const QString &folder);

// What is at a path, links followed, whatever bytes its name has.
bool Exists(const QString &path);
// True for a folder (links followed), whatever bytes its name has.
bool IsFolder(const QString &path);
// True for a regular file (links followed).
bool IsFile(const QString &path);
// True for a file that we may run.
bool IsExecutable(const QString &path);

// The program's current folder, and making a folder current, by its real
// bytes; MakeCurrentFolder is false when the folder can't be made current.
QString CurrentFolder();
bool MakeCurrentFolder(const QString &folder);

// `path` made absolute against the current folder and cleaned of "." and
// ".." parts and doubled "/" (by its text: links are not resolved).
QString AbsolutePath(const QString &path);
// The last part of a path ("caf\xE9.vb" of "/roms/caf\xE9.vb"), and the
// absolute folder that holds it.
QString FileNameOf(const QString &path);
QString FolderOf(const QString &path);

// Makes `folder` and every missing folder above it; true when it is there.
bool MakeFolders(const QString &folder);
// Removes a file (or a link, never what it points to); false with errno set.
bool RemoveFile(const QString &path);
// Removes a folder with everything in it, links not followed; true when it
// is gone.
bool RemoveFolderTree(const QString &folder);

// Gives the file `from` the name `to` only while nothing has that name: it
// never replaces a file and never copies one. In one step where the file
// system can (a rename with RENAME_NOREPLACE); where it can't (network shares,
// FUSE file systems), the new name is made as a hard link and the old one
// removed; where links are refused too, the new name is first reserved as an
// empty file of our own, so that the only file the rename can replace is the
// one just made. 0, or the errno (EEXIST when the name is taken; EXDEV when
// the two are on different file systems).
int RenameWithoutReplacing(const QString &from, const QString &to);

// The steps of RenameWithoutReplacing, in order, and the seam for tests: the
// hook runs before each step's system call with the rename's two paths and
// answers an errno to fail that call with (as a file system that lacks it
// does), or 0 to let it run; what it does meanwhile is what another program
// may do between the steps. An empty function removes it.
enum class RenameStep { NoReplaceRename, Link, Reserve, Rename };
using RenameHook = std::function<int(RenameStep, const QString &from, const QString &to)>;
void SetRenameHook(RenameHook hook);

// A new file beside `target`, named `prefix` and six letters and digits,
// created empty (and only if nothing had that name) and open for writing.
// Gives its descriptor and puts its path in `created`, or -1 with errno set.
int CreateFileBeside(const QString &target, const QString &prefix, QString &created);
// A new folder, named `prefix` and six letters and digits, in TemporaryFolder;
// "" with errno set when none can be made.
QString CreateTemporaryFolder(const QString &prefix);

// The user's home folder ($HOME): where the Windows-style "C:\" defaults
// point. The user's settings folder ($XDG_CONFIG_HOME, or ".config" in the
// home folder). The temporary folder ($TMPDIR, or "/tmp").
QString HomeFolder();
QString ConfigFolder();
QString TemporaryFolder();

// Folders of the running install. The program folder holds the program; the
// "Windows folder" is the folder that holds Zandrel.dll (the program folder
// as built and installed); the "Fonts folder" is the install's fonts/ folder.
// None has a trailing "/".
QString ProgramFolder();
QString WindowsFolder();
QString FontsFolder();

// Tests point the install somewhere else; an empty string restores the
// default answer.
void OverrideProgramFolder(const QString &dir);
void OverrideWindowsFolder(const QString &dir);
void OverrideFontsFolder(const QString &dir);

} // namespace paths
