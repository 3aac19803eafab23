#include "RomRenamer.h"

#include "Paths.h"

#include <algorithm>

namespace romdb {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kMovedTo = QStringLiteral(" moved to ");
const QString kRenameFolder = QStringLiteral("VBoyRen");
constexpr int kTemporaryFolderTries = 100;

QString WithSeparator(const QString &folder)
{
    return paths::AppendFileToDir(folder, QString());
}

QString WithoutSeparator(const QString &dir)
{
    return dir.size() > 1 && dir.endsWith(QLatin1Char('/')) ? dir.chopped(1) : dir;
}

int32_t LongestName(const QStringList &names)
{
    qsizetype longest = 0;
    for (const QString &name : names)
        longest = std::max(longest, name.size());
    return int32_t(longest);
}

} // namespace

RomRenamer::RomRenamer(RomFileSystem &fileSystem, const RunHooks &hooks, std::function<int()> drawNumber)
    : m_fileSystem(fileSystem), m_hooks(hooks), m_drawNumber(std::move(drawNumber))
{
}

RenameResult RomRenamer::run(const QString &folder, const QList<RomFileRecord> &files, int32_t maxNameLength,
                             bool moveRoms)
{
    m_sourceDir = WithSeparator(folder);
    m_log = QStringLiteral("File change log:") + kCrLf;
    if (!createTemporaryFolder())
        return result(RunOutcome::Failed, folder);
    m_hooks.progress(25);

    const bool allMoved = moveIntoTemporaryFolder(files, maxNameLength);
    m_hooks.progress(50);
    if (!allMoved || m_hooks.cancelled() || !prepareTargetFolder(moveRoms)) {
        if (m_failures.isEmpty())
            log(QStringLiteral("Renaming cancelled: the files already renamed get their old names back."));
        putBackAll();
        removeTemporaryFolder();
        return result(m_failures.isEmpty() ? RunOutcome::Cancelled : RunOutcome::Failed, folder);
    }

    // Once the files are in the temporary folder, finishing is the safe way
    // out, so a cancel here takes effect only after the last move.
    moveOutOfTemporaryFolder();
    m_hooks.progress(75);
    removeTemporaryFolder();
    return result(m_failures.isEmpty() ? RunOutcome::Completed : RunOutcome::Failed, WithoutSeparator(m_targetDir));
}

bool RomRenamer::createTemporaryFolder()
{
    for (int attempt = 0; attempt < kTemporaryFolderTries; ++attempt) {
        const QString candidate = m_sourceDir + QStringLiteral("~ROMTMP") +
                                  QString::number(m_drawNumber()).rightJustified(3, QLatin1Char('0'));
        QString error;
        if (m_fileSystem.makeFolder(candidate, error)) {
            m_temporaryDir = candidate + QLatin1Char('/');
            log(QStringLiteral("Creating temporary directory: ") + m_temporaryDir);
            return true;
        }
        if (!m_fileSystem.exists(candidate)) {
            fail(QStringLiteral("Could not create the temporary directory %1: %2").arg(candidate, error));
            return false;
        }
    }
    fail(QStringLiteral("No free name for a temporary directory in %1").arg(m_sourceDir));
    return false;
}

bool RomRenamer::moveIntoTemporaryFolder(const QList<RomFileRecord> &files, int32_t maxNameLength)
{
    const int32_t count = int32_t(files.size());
    for (int32_t i = 0; i < count; ++i) {
        const RomFileRecord &file = files[i];
        const QString source = m_sourceDir + file.name;
        const QString filler = NameFiller(file.name, maxNameLength);
        if (file.state == RomState::Invalid) {
            log(QStringLiteral("Skipping ") + source + filler + QStringLiteral(" : INVALID ROM"));
        } else if (file.state != RomState::Known) {
            log(QStringLiteral("Skipping ") + source + filler + QStringLiteral(" : UNKNOWN ROM"));
        } else {
            if (m_hooks.cancelled())
                return false;
            const QString newName = freeTemporaryName(file.identification());
            if (!move(source, m_temporaryDir + newName, false, filler))
                return false;
            m_movedByName.insert(newName, m_moved.size());
            m_moved.append(MovedRom{source, newName});
        }
        m_hooks.progress(ProgressPercent(25, 25, i, count));
        m_hooks.letEventsRun();
    }
    return true;
}

QString RomRenamer::freeTemporaryName(const QString &title)
{
    // Copy 0 is the title itself, 1 "Copy of", then "Copy (2) of" and on;
    // each title's count goes on from its last name, so n copies cost n looks.
    const auto copyName = [&title](int copy) {
        const QString fileName = title + QStringLiteral(".vb");
        if (copy == 0)
            return fileName;
        if (copy == 1)
            return QStringLiteral("Copy of ") + fileName;
        return QStringLiteral("Copy (%1) of ").arg(copy) + fileName;
    };
    int &copy = m_nextCopy[title];
    while (m_fileSystem.exists(m_temporaryDir + copyName(copy)))
        ++copy;
    return copyName(copy++);
}

bool RomRenamer::prepareTargetFolder(bool moveRoms)
{
    m_targetDir = m_sourceDir;
    if (!moveRoms)
        return true;
    const QString folder = m_sourceDir + kRenameFolder;
    m_targetDir = WithSeparator(folder);
    if (m_fileSystem.isFolder(folder))
        return true;
    QString error;
    if (!m_fileSystem.makeFolder(folder, error)) {
        fail(QStringLiteral("Could not create the directory %1: %2").arg(folder, error));
        return false;
    }
    log(QStringLiteral("Rename directory: ") + m_targetDir + QStringLiteral(" created"));
    return true;
}

void RomRenamer::moveOutOfTemporaryFolder()
{
    // In the order the folder lists them, as the log shows them.
    const QStringList names = ListRomFiles(m_temporaryDir);
    const int32_t longest = LongestName(names);
    const int32_t count = int32_t(names.size());
    for (int32_t k = 0; k < count; ++k) {
        const QString &name = names[k];
        if (MovedRom *rom = movedRomNamed(name)) {
            if (move(m_temporaryDir + name, m_targetDir + name, true, NameFiller(name, longest)))
                rom->inTemporaryFolder = false;
            else
                putBack(*rom);
        }
        m_hooks.progress(ProgressPercent(50, 25, k, count));
        m_hooks.letEventsRun();
    }
    for (MovedRom &rom : m_moved) {
        if (rom.inTemporaryFolder && !m_fileSystem.exists(m_temporaryDir + rom.newName)) {
            fail(QStringLiteral("%1 went missing from %2").arg(rom.newName, m_temporaryDir));
            rom.inTemporaryFolder = false;
        }
    }
}

void RomRenamer::putBackAll()
{
    for (MovedRom &rom : m_moved)
        if (rom.inTemporaryFolder)
            putBack(rom);
}

// The old name, or when that is taken now, the new name in the ROM folder.
void RomRenamer::putBack(MovedRom &rom)
{
    const QString current = m_temporaryDir + rom.newName;
    if (move(current, rom.originalPath, false, QString()) ||
        move(current, m_sourceDir + rom.newName, false, QString()))
        rom.inTemporaryFolder = false;
}

RomRenamer::MovedRom *RomRenamer::movedRomNamed(const QString &name)
{
    const auto found = m_movedByName.constFind(name);
    return found == m_movedByName.cend() ? nullptr : &m_moved[*found];
}

void RomRenamer::removeTemporaryFolder()
{
    const QString folder = WithoutSeparator(m_temporaryDir);
    QString error;
    if (!m_fileSystem.removeFolder(folder, error))
        fail(QStringLiteral("Could not remove the temporary directory %1: %2").arg(folder, error));
}

bool RomRenamer::move(const QString &source, const QString &target, bool replace, const QString &filler)
{
    QString error;
    if (!m_fileSystem.MoveRomFile(source, target, replace, error)) {
        fail(QStringLiteral("Could not move %1 to %2: %3").arg(source, target, error));
        return false;
    }
    log(source + filler + kMovedTo + target);
    return true;
}

void RomRenamer::log(const QString &line)
{
    m_log += line + kCrLf;
}

void RomRenamer::fail(const QString &what)
{
    m_failures << what;
    log(what);
}

RenameResult RomRenamer::result(RunOutcome outcome, const QString &folder) const
{
    RenameResult result{outcome, m_log, QString(), folder};
    if (outcome != RunOutcome::Failed)
        return result;
    QStringList lines{QStringLiteral("Renaming the ROM files failed:")};
    lines << m_failures;
    const bool stranded = std::any_of(m_moved.begin(), m_moved.end(),
                                      [](const MovedRom &rom) { return rom.inTemporaryFolder; });
    if (stranded)
        lines << QStringLiteral("Some ROM files are still in the directory %1").arg(m_temporaryDir);
    else if (!m_moved.isEmpty())
        lines << QStringLiteral("No ROM file was lost: the change log shows where each one is.");
    result.failure = lines.join(QLatin1Char('\r'));
    return result;
}

} // namespace romdb
