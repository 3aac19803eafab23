#include "RomRenamer.h"

#include "MsgBox.h"
#include "Paths.h"

#include <QRegularExpression>

#include <algorithm>

namespace romdb {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kMovedTo = QStringLiteral(" moved to ");
const QString kRenameFolder = QStringLiteral("VBoyRen");
constexpr int kTemporaryFolderTries = 100;
constexpr int kCopyNameTries = 10000;
constexpr qsizetype kFailuresNamed = 5; // a longer list would not fit a message box on the screen

QString WithSeparator(const QString &folder)
{
    return paths::AppendFileToDir(folder, QString());
}

QString WithoutSeparator(const QString &dir)
{
    return dir.size() > 1 && dir.endsWith(QLatin1Char('/')) ? dir.chopped(1) : dir;
}

// The names in `dir`, by their real bytes, in name order: its folders, or
// the rest of what it holds; only those that match `pattern` when one is
// given (a name that is not UTF-8 never matches one).
QStringList NamesIn(const QString &dir, bool folders, const QRegularExpression *pattern = nullptr)
{
    QStringList names;
    for (const paths::FolderEntry &entry : paths::ListFolder(dir))
        if (entry.isFolder == folders && (!pattern || pattern->match(entry.name).hasMatch()))
            names << entry.name;
    names.sort();
    return names;
}

int32_t LongestName(const QStringList &names)
{
    int32_t longest = 0;
    for (const QString &name : names)
        longest = std::max(longest, NameColumns(name));
    return longest;
}

// A line about the file at `target` that the move of `source` (logged as
// source, filler, " moved to ", its target) met: `word`, then `target` in the
// column of the move's target, then the reason.
QString TargetColumnLine(const QString &word, const QString &source, const QString &filler, const QString &target,
                         const QString &reason)
{
    return (word + QLatin1Char(' ')).leftJustified(NameColumns(source) + filler.size() + kMovedTo.size()) + target +
           QStringLiteral(" : ") + reason;
}

// The name a copy name was made from: "Copy (2) of x.vb" gives "x.vb".
QString OriginalName(const QString &name)
{
    static const QRegularExpression copyPrefix(QStringLiteral("^Copy (?:\\([0-9]+\\) )?of "));
    const QRegularExpressionMatch prefix = copyPrefix.match(name);
    return prefix.hasMatch() ? name.mid(prefix.capturedLength()) : name;
}

// The names a ROM called `name` may take in a folder, in the order they are
// tried: `name` itself, then the copy names of the name it was made from;
// empty for the copy number that would give `name` again.
QString CandidateName(const QString &name, int copy)
{
    if (copy == 0)
        return name;
    const QString candidate = CopyName(OriginalName(name), copy);
    return candidate == name ? QString() : candidate;
}

} // namespace

QString CopyName(const QString &fileName, int copy)
{
    if (copy == 0)
        return fileName;
    if (copy == 1)
        return QStringLiteral("Copy of ") + fileName;
    return QStringLiteral("Copy (%1) of ").arg(copy) + fileName;
}

RomRenamer::RomRenamer(RomFileSystem &fileSystem, const RunHooks &hooks, std::function<int()> drawNumber)
    : m_fileSystem(fileSystem), m_hooks(hooks), m_drawNumber(std::move(drawNumber)),
      m_log(QStringLiteral("File change log:") + kCrLf)
{
}

bool RomRenamer::recover(const QString &folder)
{
    m_sourceDir = WithSeparator(folder);
    recoverInterruptedPasses();
    return !m_recovery.isEmpty();
}

RenameResult RomRenamer::run(const QString &folder, const QList<RomFileRecord> &files, int32_t maxNameLength,
                             bool moveRoms)
{
    m_sourceDir = WithSeparator(folder);
    m_targetDir = m_sourceDir;
    // What recover() put back is listed now: the pass takes it like any file.
    m_placed.clear();
    if (targetFolderInTheWay(moveRoms))
        return result(RunOutcome::Failed);
    if (!createTemporaryFolder())
        return result(RunOutcome::Failed);
    m_hooks.progress(25);

    const bool allMoved = moveIntoTemporaryFolder(files, maxNameLength);
    m_hooks.progress(50);
    if (!allMoved || m_hooks.cancelled() || !prepareTargetFolder(moveRoms)) {
        if (m_failures.isEmpty())
            log(QStringLiteral("Renaming cancelled: the files already renamed get their old names back."));
        putBackAll();
        removeTemporaryFolder();
        return result(m_failures.isEmpty() ? RunOutcome::Cancelled : RunOutcome::Failed);
    }

    // Once the files are in the temporary folder, finishing is the safe way
    // out, so a cancel here takes effect only after the last move.
    moveOutOfTemporaryFolder();
    m_hooks.progress(75);
    removeTemporaryFolder();
    return result(m_failures.isEmpty() ? RunOutcome::Completed : RunOutcome::Failed);
}

// "VBoyRen" must be a folder of the ROM folder itself: a link would carry
// the ROM files elsewhere, so a link, like a file, stops the pass at once.
bool RomRenamer::targetFolderInTheWay(bool moveRoms)
{
    const QString folder = m_sourceDir + kRenameFolder;
    if (!moveRoms || !m_fileSystem.exists(folder) || m_fileSystem.isFolder(folder))
        return false;
    fail(m_fileSystem.isLink(folder)
             ? QStringLiteral("%1 is a link: ROM files are moved only into a directory of that name in the ROM "
                              "directory itself. Nothing was moved.")
                   .arg(folder)
             : QStringLiteral("%1 is a file, not a directory. Nothing was moved.").arg(folder));
    return true;
}

// A pass that was killed leaves its temporary folder, with ROM files in it,
// and perhaps a hidden partial copy: its files come back into the ROM folder,
// under the same rule as any move out of a temporary folder, and the rest goes.
void RomRenamer::recoverInterruptedPasses()
{
    static const QRegularExpression ourTemporaryFolder(QStringLiteral("^~ROMTMP[0-9]{3}$"));
    const QString renameDir = WithSeparator(m_sourceDir + kRenameFolder);
    const bool renameFolderExists = m_fileSystem.isFolder(m_sourceDir + kRenameFolder);
    int partialCopies = removePartialCopies(m_sourceDir);
    if (renameFolderExists)
        partialCopies += removePartialCopies(renameDir);
    for (const QString &name : NamesIn(m_sourceDir, true, &ourTemporaryFolder)) {
        if (!m_fileSystem.isFolder(m_sourceDir + name))
            continue; // a link to a folder elsewhere is not ours
        const QString dir = m_sourceDir + name + QLatin1Char('/');
        log(QStringLiteral("Found the temporary directory of an interrupted renaming: ") + dir);
        partialCopies += removePartialCopies(dir);
        int broughtBack = 0;
        int alreadyMoved = 0;
        const QStringList files = NamesIn(dir, false);
        for (const QString &file : files) {
            if (renameFolderExists && removeIfAlreadyIn(dir + file, renameDir, file))
                ++alreadyMoved;
            else
                broughtBack += placeRom(dir + file, m_sourceDir, file, QString()) ? 1 : 0;
        }
        m_recovery << QStringLiteral("%1 of the %2 files in %3 were moved back into %4")
                          .arg(broughtBack)
                          .arg(files.size())
                          .arg(dir, m_sourceDir);
        if (alreadyMoved > 0)
            m_recovery << QStringLiteral("%1 of them were already in %2 with the very same bytes: their temporary "
                                         "copies were removed.")
                              .arg(alreadyMoved)
                              .arg(renameDir);
        QString error;
        if (m_fileSystem.removeFolder(WithoutSeparator(dir), error)) {
            log(QStringLiteral("Removed the temporary directory ") + dir);
        } else {
            log(QStringLiteral("Could not remove the temporary directory %1: %2").arg(dir, error));
            m_recovery << QStringLiteral("%1 could not be removed: %2").arg(dir, error);
        }
    }
    if (partialCopies > 0)
        m_recovery << QStringLiteral("%1 partial copies were removed.").arg(partialCopies);
}

// Across file systems a move out of the temporary folder places a checked
// copy and then deletes its source: a pass killed in between leaves the ROM
// in `dir` as well, under `name` or the copy name it took there. Then the
// temporary file goes instead of coming back.
bool RomRenamer::removeIfAlreadyIn(const QString &leftover, const QString &dir, const QString &name)
{
    for (int copy = 0; copy < kCopyNameTries; ++copy) {
        const QString candidate = CandidateName(name, copy);
        if (candidate.isEmpty())
            continue;
        const QString placed = dir + candidate;
        if (!m_fileSystem.exists(placed))
            return false;
        if (!m_fileSystem.sameContents(leftover, placed))
            continue;
        QString error;
        if (!m_fileSystem.removeFile(leftover, error)) {
            log(QStringLiteral("Could not remove the temporary copy %1: %2").arg(leftover, error));
            return false;
        }
        log(QStringLiteral("Removed the temporary copy %1: the same file is already at %2").arg(leftover, placed));
        return true;
    }
    return false;
}

// A partial copy is never the only one: its source is deleted only once the
// copy is complete and in place.
int RomRenamer::removePartialCopies(const QString &dir)
{
    static const QRegularExpression partialCopy(QStringLiteral("^\\.romcopy-[A-Za-z0-9]{6}$"));
    int removed = 0;
    for (const QString &name : NamesIn(dir, false, &partialCopy)) {
        QString error;
        if (m_fileSystem.isLink(dir + name) || !m_fileSystem.removeFile(dir + name, error))
            continue;
        log(QStringLiteral("Removed the partial copy ") + dir + name);
        ++removed;
    }
    return removed;
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
        } else if (m_fileSystem.isLink(source)) {
            // Moved, a relative link would no longer reach its file.
            log(QStringLiteral("Skipping ") + source + filler + QStringLiteral(" : SYMBOLIC LINK"));
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
    // Each title's count goes on from its last name, so n copies cost n looks.
    const QString fileName = title + QStringLiteral(".vb");
    int &copy = m_nextCopy[title];
    while (m_fileSystem.exists(m_temporaryDir + CopyName(fileName, copy)))
        ++copy;
    return CopyName(fileName, copy++);
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
            if (placeRom(m_temporaryDir + name, m_targetDir, name, NameFiller(name, longest)))
                rom->place = Place::Target;
            else
                putBack(*rom);
        }
        m_hooks.progress(ProgressPercent(50, 25, k, count));
        m_hooks.letEventsRun();
    }
    for (MovedRom &rom : m_moved) {
        if (rom.place == Place::Temporary && !m_fileSystem.exists(m_temporaryDir + rom.newName)) {
            fail(QStringLiteral("%1 went missing from %2").arg(rom.newName, m_temporaryDir));
            rom.place = Place::Source;
        }
    }
}

// Moves `source` into `dir` as `name`, or, where a different file has that
// name, as the first free copy name of the name it was made from: a file the
// pass did not take is replaced only when it holds the very same bytes.
bool RomRenamer::placeRom(const QString &source, const QString &dir, const QString &name, const QString &filler)
{
    for (int copy = 0; copy < kCopyNameTries; ++copy) {
        const QString candidate = CandidateName(name, copy);
        if (candidate.isEmpty())
            continue;
        const QString target = dir + candidate;
        if (m_placed.contains(target))
            continue; // this pass put a ROM there: it stays, whatever its bytes
        const bool taken = m_fileSystem.exists(target);
        if (taken && !m_fileSystem.sameContents(source, target)) {
            log(TargetColumnLine(QStringLiteral("Keeping"), source, filler, target,
                                 QStringLiteral("DIFFERENT FILE OF THAT NAME")));
            continue;
        }
        QString error;
        if (m_fileSystem.MoveRomFile(source, target, taken, error)) {
            // Nothing is lost, but two files became one.
            if (taken)
                log(TargetColumnLine(QStringLiteral("Replacing"), source, filler, target,
                                     QStringLiteral("IDENTICAL FILE OF THAT NAME")));
            log(source + filler + kMovedTo + target);
            m_placed.insert(target);
            return true;
        }
        if (!taken && m_fileSystem.exists(target))
            continue; // taken meanwhile: on to the next name
        fail(QStringLiteral("Could not move %1 to %2: %3").arg(source, target, error));
        return false;
    }
    fail(QStringLiteral("No free name for %1 in %2").arg(source, dir));
    return false;
}

void RomRenamer::putBackAll()
{
    for (MovedRom &rom : m_moved)
        if (rom.place == Place::Temporary)
            putBack(rom);
}

// The old name, or when that is taken now, the new name in the ROM folder.
void RomRenamer::putBack(MovedRom &rom)
{
    const QString current = m_temporaryDir + rom.newName;
    if (move(current, rom.originalPath, false, QString()) || placeRom(current, m_sourceDir, rom.newName, QString()))
        rom.place = Place::Source;
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

QString RomRenamer::recoveryText() const
{
    if (m_recovery.isEmpty())
        return QString();
    return (QStringList{QStringLiteral("An earlier renaming was interrupted. What it left was put right:")} +
            m_recovery + QStringList{QStringLiteral("The change log shows each file.")})
        .join(msgbox::CR);
}

RenameResult RomRenamer::result(RunOutcome outcome) const
{
    const auto anyIn = [this](Place place) {
        return std::any_of(m_moved.begin(), m_moved.end(), [place](const MovedRom &rom) { return rom.place == place; });
    };
    // The folder to list next is the one that holds the renamed files.
    const bool inTarget = outcome == RunOutcome::Completed || anyIn(Place::Target);
    RenameResult result{outcome, m_log, QString(), WithoutSeparator(inTarget ? m_targetDir : m_sourceDir),
                        recoveryText()};
    if (outcome != RunOutcome::Failed)
        return result;
    QStringList lines{QStringLiteral("Renaming the ROM files failed:")};
    lines << m_failures.mid(0, kFailuresNamed);
    if (m_failures.size() > kFailuresNamed)
        lines << QStringLiteral("... and %1 more: the change log lists them all.").arg(m_failures.size() - kFailuresNamed);
    const bool stranded = anyIn(Place::Temporary);
    if (stranded)
        lines << QStringLiteral("Some ROM files are still in the directory %1").arg(m_temporaryDir);
    else if (!m_moved.isEmpty())
        lines << QStringLiteral("No ROM file was lost: the change log shows where each one is.");
    result.failure = lines.join(msgbox::CR);
    return result;
}

} // namespace romdb
