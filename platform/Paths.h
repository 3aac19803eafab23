#pragma once
// File-system conventions of the program on Linux: joining a folder and a
// file name, case-blind look-ups of the file names the program knows in
// upper or mixed case, and the folders of the program's own install.

#include <QList>
#include <QString>

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

// True for a folder (links followed), whatever bytes its name has.
bool IsFolder(const QString &path);
// Makes the folder the program's current folder, by its real bytes; false
// when it can't be.
bool MakeCurrentFolder(const QString &folder);

// The user's home folder: where every Windows-style "C:\" default points.
QString HomeFolder();

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
