#pragma once
// The renaming pass: every identified ROM file gets its title as its name,
// by way of a fresh temporary folder inside the ROM folder, and ends up in
// "VBoyRen" or back in the ROM folder; a change log records each move made.
// Whatever happens, each ROM exists exactly once with its bytes unchanged:
// on a cancel or failure before the last stage the files already moved get
// their old names back, and in the last stage every file is still put in
// place. A file the pass did not take is never replaced unless it holds the
// very same bytes (and the log says so): the incoming ROM takes the next free
// copy name instead.
// Links are left where they are. Before the folder is listed for a pass,
// recover() brings back what an interrupted one left there. Only the moves,
// not the files' bytes, cost time.

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

#include "RomFileRecord.h"
#include "RomFileSystem.h"
#include "RunHooks.h"

namespace romdb {

struct RenameResult {
    RunOutcome outcome = RunOutcome::Completed;
    QString log;      // the change log, every line ending in CR LF
    QString failure;  // for the window to show when the outcome is Failed
    QString folder;   // the folder that holds the renamed ROM files
    QString recovery; // what was brought back from an interrupted pass; empty when nothing was
};

// "title.vb", "Copy of title.vb", "Copy (2) of title.vb", ... for copy 0, 1, 2, ...
QString CopyName(const QString &fileName, int copy);

// One object makes one pass.
class RomRenamer {
public:
    // `drawNumber` gives 0-999 for the temporary folder's name.
    RomRenamer(RomFileSystem &fileSystem, const RunHooks &hooks, std::function<int()> drawNumber);

    // Brings the ROM files that an interrupted pass left in `folder` back into
    // it and removes the rest of what it left; true when there was anything.
    // Its lines open the change log, which the pass then goes on with.
    bool recover(const QString &folder);
    const QString &log() const { return m_log; }
    // What recover() did, for the window to show; empty when nothing.
    QString recoveryText() const;

    RenameResult run(const QString &folder, const QList<RomFileRecord> &files, int32_t maxNameLength,
                     bool moveRoms);

private:
    enum class Place { Temporary, Target, Source };
    struct MovedRom {
        QString originalPath;
        QString newName;
        Place place = Place::Temporary;
    };

    bool targetFolderInTheWay(bool moveRoms);
    void recoverInterruptedPasses();
    bool removeIfAlreadyIn(const QString &leftover, const QString &dir, const QString &name);
    int removePartialCopies(const QString &dir);
    bool createTemporaryFolder();
    bool moveIntoTemporaryFolder(const QList<RomFileRecord> &files, int32_t maxNameLength);
    QString freeTemporaryName(const QString &title);
    bool prepareTargetFolder(bool moveRoms);
    void moveOutOfTemporaryFolder();
    bool placeRom(const QString &source, const QString &dir, const QString &name, const QString &filler);
    void putBackAll();
    void putBack(MovedRom &rom);
    MovedRom *movedRomNamed(const QString &name);
    void removeTemporaryFolder();
    bool move(const QString &source, const QString &target, bool replace, const QString &filler);

    void log(const QString &line);
    void fail(const QString &what);
    RenameResult result(RunOutcome outcome) const;

    RomFileSystem &m_fileSystem;
    const RunHooks &m_hooks;
    std::function<int()> m_drawNumber;

    QString m_sourceDir; // each ends in "/"
    QString m_temporaryDir;
    QString m_targetDir;
    QList<MovedRom> m_moved;
    QHash<QString, qsizetype> m_movedByName;
    QHash<QString, int> m_nextCopy; // per title
    QSet<QString> m_placed;         // where this pass put a ROM
    QString m_log;
    QStringList m_failures;
    QStringList m_recovery;
};

} // namespace romdb
