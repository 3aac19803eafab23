#include "RomDatabase.h"

#include "KnownRomTable.h"
#include "Paths.h"
#include "RomDbCatalogue.h"
#include "RomRenamer.h"
#include "VbRomHeader.h"
#include "ZandrelLibrary.h"

#include <QRandomGenerator>

#include <algorithm>
#include <optional>

namespace romdb {

class RomDatabase::BusyScope {
public:
    explicit BusyScope(RomDatabase &database) : m_database(database) { ++m_database.m_busy; }
    ~BusyScope() { --m_database.m_busy; }

private:
    RomDatabase &m_database;
};

RomDatabase::RomDatabase(RunHooks hooks, RomFileSystem &fileSystem)
    : m_hooks(std::move(hooks)), m_fileSystem(fileSystem),
      m_drawNumber([] { return int(QRandomGenerator::global()->bounded(1000)); })
{
}

void RomDatabase::setTemporaryNumberSource(std::function<int()> drawNumber)
{
    m_drawNumber = std::move(drawNumber);
}

bool RomDatabase::ListFolder(const QString &folder)
{
    if (busy())
        return false;
    listFolder(folder);
    return true;
}

void RomDatabase::listFolder(const QString &folder)
{
    m_folder = folder;
    m_files.clear();
    m_maxNameLength = 0;
    for (const QString &name : ListRomFiles(folder)) {
        m_files.append(RomFileRecord::listed(name));
        m_maxNameLength = std::max(m_maxNameLength, NameColumns(name));
    }
    if (m_hooks.listingChanged)
        m_hooks.listingChanged();
}

QString RomDatabase::fileLine(int32_t index) const
{
    return FileLine(m_files.at(index), m_maxNameLength);
}

QString RomDatabase::filePath(int32_t index) const
{
    return paths::AppendFileToDir(m_folder, m_files.at(index).name);
}

bool RomDatabase::ResetFileStates()
{
    if (busy())
        return false;
    for (RomFileRecord &file : m_files)
        file = RomFileRecord::listed(file.name);
    if (m_hooks.listingChanged)
        m_hooks.listingChanged();
    return true;
}

void RomDatabase::IdentifyRomFile(int32_t index)
{
    if (index < 0 || index >= fileCount())
        return;
    {
        BusyScope busy(*this);
        identify(index);
    }
    // After every file, so a cancel is seen even where nothing is catalogued.
    m_hooks.letEventsRun();
}

void RomDatabase::identify(int32_t index)
{
    RomFileRecord &file = m_files[index];
    file = RomFileRecord::listed(file.name);
    if (m_hooks.cancelled())
        return changed(index);

    // One read of the file, each chunk summed by the library right after it
    // is read, while it is in the cache: both checksums come from that read.
    std::optional<zandrel::ImageChecksums> sums;
    const ScannedImage scanned = ScanVbRomImage(
        filePath(index), zandrel::ImageChecksums::kChunkBytes, [&](QByteArrayView chunk, qint64 offset, qint64 length) {
            if (offset == 0)
                sums.emplace(length);
            sums->add(chunk);
        });
    // A file that is missing, unreadable, too small or has non-zero
    // reserved bytes is all the same to the database: not an image.
    if (scanned.result != RomCheck::Ok) {
        file.state = RomState::Invalid;
        return changed(index);
    }
    file.size = scanned.length;
    file.state = RomState::Identifying;
    changed(index);
    file.header = scanned.header;

    file.headerExcludedChecksum = sums->headerExcluded().value_or(QString());
    if (m_hooks.cancelled()) {
        file.state = RomState::YetToBeIdentified;
        return changed(index);
    }
    const QString title = romdb::LookupTitleByChecksum(file.headerExcludedChecksum, false);
    if (!KnownTitles().contains(title)) {
        file.state = RomState::Unknown;
        return changed(index);
    }
    file.state = RomState::Known;
    file.title = title;

    file.wholeImageChecksum = sums->wholeImage().value_or(QString());
    if (romdb::LookupTitleByChecksum(file.wholeImageChecksum, true) != title) {
        if (m_hooks.cancelled())
            file.state = RomState::YetToBeIdentified;
        else
            file.hacked = true;
    }
    changed(index);
}

void RomDatabase::changed(int32_t index) const
{
    if (m_hooks.fileChanged)
        m_hooks.fileChanged(index);
}

bool RomDatabase::IdentifyAllFiles(int32_t from, int32_t span)
{
    if (busy())
        return false;
    identifyAll(from, span);
    return true;
}

void RomDatabase::identifyAll(int32_t from, int32_t span)
{
    BusyScope busy(*this);
    const int32_t count = fileCount();
    for (int32_t i = 0; i < count; ++i) {
        IdentifyRomFile(i);
        m_hooks.progress(ProgressPercent(from, span, i, count));
    }
}

RunOutcome RomDatabase::RunIdentification(bool renameRoms, bool moveRoms)
{
    if (busy())
        return RunOutcome::Cancelled;
    BusyScope busy(*this);
    m_renameFailure.clear();
    m_renameRecovery.clear();
    if (!renameRoms) {
        identifyAll(0, 100);
        return RunOutcome::Completed;
    }
    RomRenamer renamer(m_fileSystem, m_hooks, m_drawNumber);
    if (renamer.recover(m_folder)) {
        // Said at once: a cancel before the pass still leaves it on record.
        m_lists.setChangeLog(renamer.log());
        m_renameRecovery = renamer.recoveryText();
        listFolder(m_folder);
    }
    identifyAll(0, 25);
    return renameAndMove(renamer, moveRoms);
}

RunOutcome RomDatabase::RenameAndMoveRoms(bool moveRoms)
{
    m_renameFailure.clear();
    m_renameRecovery.clear();
    BusyScope busy(*this);
    RomRenamer renamer(m_fileSystem, m_hooks, m_drawNumber);
    return renameAndMove(renamer, moveRoms);
}

RunOutcome RomDatabase::renameAndMove(RomRenamer &renamer, bool moveRoms)
{
    if (m_hooks.cancelled())
        return RunOutcome::Cancelled;
    const RenameResult renamed = renamer.run(m_folder, m_files, m_maxNameLength, moveRoms);
    m_lists.setChangeLog(renamed.log);
    m_renameFailure = renamed.failure;
    m_renameRecovery = renamed.recovery;
    // The old records name files that have moved: list where they are now.
    listFolder(renamed.folder);
    m_hooks.progress(75);
    if (renamed.outcome != RunOutcome::Completed)
        return renamed.outcome;
    // A cancel from here on comes too late to undo the renaming.
    if (m_hooks.cancelled())
        return RunOutcome::CancelledAfterRenaming;
    identifyAll(75, 25);
    m_hooks.progress(100);
    return m_hooks.cancelled() ? RunOutcome::CancelledAfterRenaming : RunOutcome::Completed;
}

void RomDatabase::InitLists()
{
    m_lists.InitHaveList();
    m_lists.InitMissList();
    m_lists.InitDupesList();
    m_lists.InitChangeLog();
}

void RomDatabase::BuildLists(bool detailed)
{
    if (detailed) {
        m_lists.BuildHaveListDetailed(m_files, m_maxNameLength);
        m_lists.BuildMissListDetailed(m_files);
        m_lists.BuildDupesListDetailed(m_files, m_maxNameLength);
    } else {
        m_lists.BuildHaveList(m_files);
        m_lists.BuildMissList(m_files);
        m_lists.BuildDupesList(m_files);
    }
}

} // namespace romdb
