#pragma once
// The file operations of the ROM database, behind one class so tests can
// make any of them fail. A ROM collection is irreplaceable: a move is a
// rename within the file system, or, across file systems, a copy that is
// complete and compared with its source before the source is deleted.

#include <QString>
#include <QStringList>

namespace romdb {

// The ".vb" files of a folder (the extension in any letter case), sorted by
// name without regard to case, as the database lists them.
QStringList ListRomFiles(const QString &folder);

class RomFileSystem {
public:
    virtual ~RomFileSystem() = default;

    // A file, folder or link of that name exists.
    virtual bool exists(const QString &path) const;
    // A folder itself, not a link to one.
    virtual bool isFolder(const QString &path) const;
    virtual bool isLink(const QString &path) const;
    // Both are regular files (not links) with the very same bytes.
    virtual bool sameContents(const QString &a, const QString &b) const;
    virtual bool removeFile(const QString &path, QString &error);
    // Creates the folder; fails when anything of that name exists.
    virtual bool makeFolder(const QString &path, QString &error);
    // Removes an empty folder.
    virtual bool removeFolder(const QString &path, QString &error);

    // Moves one ROM file. With `replace`, a file at the target is replaced
    // in the same step; without it, an existing target makes the move fail.
    // On failure both files are as they were and `error` says why.
    bool MoveRomFile(const QString &source, const QString &target, bool replace, QString &error);

protected:
    // One rename; without `replace` one that never replaces a file, on any
    // file system (paths::RenameWithoutReplacing). 0 or the errno.
    virtual int renameFile(const QString &source, const QString &target, bool replace);
    // Across file systems: a copy beside the target, checked, renamed into
    // place, then the source deleted. A file it replaces waits beside it
    // until then, to be put back should the source stay.
    virtual bool copyThenDelete(const QString &source, const QString &target, bool replace, QString &error);
};

// The real file system.
RomFileSystem &RealFileSystem();

} // namespace romdb
