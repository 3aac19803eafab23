#pragma once
// The ROM database's engine: the listed folder with one record per ROM
// file, identification of a file and of the whole list, the renaming pass
// and the list texts. The window shows what this holds and drives a run
// step by step; the hooks let it answer a cancel, run its events and repaint.

#include <QList>
#include <QString>
#include <cstdint>
#include <functional>

#include "RomFileRecord.h"
#include "RomFileSystem.h"
#include "RomListTexts.h"
#include "RunHooks.h"

namespace romdb {

class RomRenamer;

class RomDatabase {
public:
    explicit RomDatabase(RunHooks hooks = {}, RomFileSystem &fileSystem = RealFileSystem());

    // Tests choose the temporary folder's numbers (0-999).
    void setTemporaryNumberSource(std::function<int()> drawNumber);

    // Reads the folder's ".vb" files, every one yet to be identified. Refused
    // (false) while a run is going on.
    bool ListFolder(const QString &folder);
    const QString &folder() const { return m_folder; }
    int32_t fileCount() const { return int32_t(m_files.size()); }
    const QList<RomFileRecord> &files() const { return m_files; }
    // The length of the longest listed name: the width of the name column.
    int32_t MaxNameLength() const { return m_maxNameLength; }
    QString fileLine(int32_t index) const;
    QString filePath(int32_t index) const;
    // Every file back to "[YET TO BE IDENTIFIED]", as a run starts.
    // Refused (false) while a run is going on.
    bool ResetFileStates();

    // Identifies file `index` into its record, then lets window events run.
    void IdentifyRomFile(int32_t index);
    // Identifies every listed file in order; progress goes from `from`
    // towards from + span, one step per file. Refused (false) while a run
    // is going on, so a run can't start inside another.
    bool IdentifyAllFiles(int32_t from, int32_t span);

    // A whole run as the window starts it: every listed file identified and,
    // with renameRoms, renamed and moved (RenameAndMoveRoms). A renaming run
    // first brings back what an interrupted one left in the folder and lists
    // the folder again, so that this run takes those files too. Refused
    // (Cancelled) while a run is going on.
    RunOutcome RunIdentification(bool renameRoms, bool moveRoms);

    // Renames and moves the identified files (into "VBoyRen" with
    // moveRoms), lists the folder that then holds them and identifies it
    // again. Writes the change log; a Failed outcome leaves its message in
    // renameFailure(). A cancel once every file is in place stops only the
    // identification: CancelledAfterRenaming.
    RunOutcome RenameAndMoveRoms(bool moveRoms);
    const QString &renameFailure() const { return m_renameFailure; }
    // What the last run brought back from an interrupted one; empty when nothing.
    const QString &renameRecovery() const { return m_renameRecovery; }

    RomListTexts &lists() { return m_lists; }
    const RomListTexts &lists() const { return m_lists; }
    // The four starting texts, in the order a run writes them.
    void InitLists();
    // The collected, missing and duplicates texts of a completed run.
    void BuildLists(bool detailed);

    // True while identification or renaming is under way.
    bool busy() const { return m_busy > 0; }

private:
    class BusyScope;

    void identify(int32_t index);
    void identifyAll(int32_t from, int32_t span);
    RunOutcome renameAndMove(RomRenamer &renamer, bool moveRoms);
    void listFolder(const QString &folder);
    void changed(int32_t index) const;

    RunHooks m_hooks;
    RomFileSystem &m_fileSystem;
    std::function<int()> m_drawNumber;

    QString m_folder;
    QList<RomFileRecord> m_files;
    int32_t m_maxNameLength = 0;
    RomListTexts m_lists;
    QString m_renameFailure;
    QString m_renameRecovery;
    int m_busy = 0;
};

} // namespace romdb
