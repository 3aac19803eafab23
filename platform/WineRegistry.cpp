#include "WineRegistry.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <variant>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "GuardedFile.h"
#include "MsgBox.h"
#include "Paths.h"
#include "Process.h"
#include "ProgressWindow.h"
#include "Registry.h"
#include "SaveFile.h"

namespace wineregistry {
namespace {

// wine's first run in a fresh prefix sets the prefix up, which takes a while.
constexpr int kRunTimeoutMs = 120000;
// What wine exports of one program's key; far more than Virtual-E's.
constexpr qint64 kLargestExport = 16 * 1024 * 1024;

using msgbox::CR;

// A hand-over's folder in the temporary folder: this prefix and six letters
// and digits, as mkdtemp makes them.
const QString kFolderPrefix = QStringLiteral("zandrel-wine-");

bool isHandOverFolderName(const QString &name)
{
    if (!name.startsWith(kFolderPrefix) || name.size() != kFolderPrefix.size() + 6)
        return false;
    return std::all_of(name.cbegin() + kFolderPrefix.size(), name.cend(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    });
}

// Opens a folder to hold it by the kernel's lock, which ends with its holder;
// -1 for a link, or what can't be opened.
int openFolder(const QString &path)
{
    return ::open(paths::EncodeFileName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Removes the folders that killed hand-overs left in the temporary folder
// (with the user's settings in them): ours by name, and only those that no
// live hand-over holds.
void clearLeftovers()
{
    const QString temporary = paths::TemporaryFolder();
    for (const paths::FolderEntry &entry : paths::ListFolder(temporary)) {
        if (!entry.isFolder || !isHandOverFolderName(entry.name))
            continue;
        const QString path = paths::AppendFileToDir(temporary, entry.name);
        const int fd = openFolder(path);
        if (fd < 0)
            continue;
        struct stat info;
        if (::fstat(fd, &info) == 0 && info.st_uid == ::geteuid() && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            paths::RemoveFolderTree(path);
        ::close(fd); // releases the lock
    }
}

// The folder of one hand-over, held from its making to its removal so that
// no other hand-over takes it for a leftover.
class HandOverFolder {
public:
    HandOverFolder()
    {
        // Another hand-over's clearing may take a folder in the instant
        // between its making and its lock: then it is gone, and a new one is made.
        for (int attempt = 0; attempt < 10 && m_fd < 0; ++attempt) {
            m_path = paths::CreateTemporaryFolder(kFolderPrefix);
            if (m_path.isEmpty()) {
                m_error = errno;
                return;
            }
            m_fd = openFolder(m_path);
            if (m_fd >= 0 && !hold()) {
                ::close(m_fd);
                m_fd = -1;
            }
        }
        if (m_fd < 0) {
            m_error = EBUSY;
            m_path.clear();
        }
    }
    ~HandOverFolder()
    {
        if (m_fd < 0)
            return;
        paths::RemoveFolderTree(m_path);
        ::close(m_fd);
    }
    HandOverFolder(const HandOverFolder &) = delete;
    HandOverFolder &operator=(const HandOverFolder &) = delete;

    // "" when no folder could be made, with error() saying why.
    QString path() const { return m_path; }
    int error() const { return m_error; }

private:
    bool hold() const
    {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
            return errno != EWOULDBLOCK; // a file system without these locks: go on unheld
        struct stat info;
        return ::fstat(m_fd, &info) == 0 && info.st_nlink > 0;
    }

    QString m_path;
    int m_fd = -1;
    int m_error = 0;
};

// wine's error output says why it failed; a chatty run keeps only its end.
constexpr qsizetype kErrorTail = 8192;
constexpr int kLastWordsLines = 4;
constexpr qsizetype kLastWordsLineLength = 300;

// `headline` with wine's last few lines of error output, when it gave any;
// its "fixme" notes of what it does not do yet say nothing of the failure.
QString withLastWords(const QString &headline, const QByteArray &errorTail)
{
    QStringList lines;
    for (const QByteArray &line : errorTail.split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (!text.isEmpty() && !text.contains(QLatin1String(":fixme:")))
            lines << (text.size() > kLastWordsLineLength ? text.left(kLastWordsLineLength) + QChar(0x2026) : text);
    }
    if (lines.isEmpty())
        return headline + QLatin1Char('.');
    return headline + QLatin1Char(':') + CR + lines.mid(std::max<qsizetype>(0, lines.size() - kLastWordsLines)).join(CR);
}

// Runs wine to its end while the progress window shows. The wait holds back
// no input: the window, modal, keeps it from the other windows, and its
// Cancel stops wine.
HandOverResult runToEnd(const QString &wine, const QStringList &arguments, const forms::ProgressWindow &progress)
{
    QProcess run;
    run.setProgram(wine);
    run.setArguments(arguments);
    run.setStandardOutputFile(QProcess::nullDevice());
    QByteArray errorTail;
    const auto takeErrorOutput = [&] {
        errorTail += run.readAllStandardError();
        if (errorTail.size() > kErrorTail)
            errorTail.remove(0, errorTail.size() - kErrorTail);
    };
    QObject::connect(&run, &QProcess::readyReadStandardError, takeErrorOutput);
    run.start();
    if (!run.waitForStarted())
        return {HandOverResult::Failed, run.errorString()};
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&run, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&progress, &QDialog::rejected, &loop, &QEventLoop::quit);
    deadline.start(kRunTimeoutMs);
    if (run.state() != QProcess::NotRunning && !progress.cancelled())
        loop.exec();

    if (run.state() != QProcess::NotRunning) {
        run.kill();
        run.waitForFinished(5000);
        if (progress.cancelled())
            return {HandOverResult::Cancelled, QString()};
        takeErrorOutput();
        return {HandOverResult::Failed,
                withLastWords(QStringLiteral("wine did not finish within %1 seconds").arg(kRunTimeoutMs / 1000), errorTail)};
    }
    if (progress.cancelled())
        return {HandOverResult::Cancelled, QString()};
    takeErrorOutput();
    if (run.exitStatus() != QProcess::NormalExit)
        return {HandOverResult::Failed, withLastWords(QStringLiteral("wine stopped unexpectedly"), errorTail)};
    if (run.exitCode() != 0)
        return {HandOverResult::Failed,
                withLastWords(QStringLiteral("wine ended with code %1").arg(run.exitCode()), errorTail)};
    return {};
}

// regedit reads a file that begins with the byte order mark as UTF-16LE.
QByteArray asUtf16File(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * qsizetype(sizeof(char16_t)));
    return bytes;
}

QString fromRegFile(const QByteArray &bytes)
{
    if (!bytes.startsWith("\xFF\xFE"))
        return QString::fromUtf8(bytes);
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2), (bytes.size() - 2) / 2);
}

// A value handed over as wine holds and exports it: regedit ends a text
// value that lacks its terminator with one, and exports a string only up to
// its first NUL.
registry::Value asWineExportsIt(registry::Value value)
{
    if (value.type == registry::REG_SZ) {
        if (const qsizetype nul = value.data.indexOf('\0'); nul >= 0)
            value.data.truncate(nul);
        value.data.append('\0');
    } else if ((value.type == registry::REG_EXPAND_SZ || value.type == registry::REG_MULTI_SZ)
               && !value.data.isEmpty() && !value.data.endsWith('\0')) {
        value.data.append('\0');
    }
    return value;
}

// True when wine's registry, as exported, holds every value handed over.
bool allArrived(const QString &exported, const QString &handedOver)
{
    const std::optional<registry::ValueTable> held = registry::ReadValues(exported);
    const std::optional<registry::ValueTable> sent = registry::ReadValues(handedOver);
    if (!held || !sent)
        return false;
    return std::all_of(sent->cbegin(), sent->cend(), [&](const auto &entry) {
        const auto found = held->find(entry.first);
        return found != held->end() && found->second == asWineExportsIt(entry.second);
    });
}

} // namespace

HandOverResult HandOver(const QString &wine, const QString &key)
{
    const QString text = registry::ExportKey(registry::Hive::CurrentUser, key);
    if (text.isEmpty())
        return {};

    const QString temporary = paths::TemporaryFolder();
    if (const QString problem = process::WineCannotReach(temporary); !problem.isEmpty())
        return {HandOverResult::Failed, QStringLiteral("The temporary folder (TMPDIR) is %1").arg(temporary) + CR + problem
                                            + CR + QStringLiteral("Set TMPDIR to another folder.")};
    clearLeftovers();
    const HandOverFolder folder;
    if (folder.path().isEmpty())
        return {HandOverResult::Failed, QStringLiteral("The settings file for wine could not be written: %1")
                                            .arg(savefile::ErrorText(folder.error()))};
    const QString imported = paths::AppendFileToDir(folder.path(), QStringLiteral("settings.reg"));
    const QString exported = paths::AppendFileToDir(folder.path(), QStringLiteral("read-back.reg"));
    if (const auto error = savefile::SaveWhole(imported, asUtf16File(text)))
        return {HandOverResult::Failed, QStringLiteral("The settings file for wine could not be written: %1").arg(error->reason)};

    forms::ProgressWindow progress(QStringLiteral("Starting the program"), QStringLiteral("Handing the settings to wine\u2026"));
    progress.showOverActiveWindow();
    HandOverResult result = runToEnd(wine, {QStringLiteral("regedit"), QStringLiteral("/S"), process::WinePath(imported)}, progress);
    if (result.outcome != HandOverResult::HandedOver)
        return result;
    result = runToEnd(wine, {QStringLiteral("regedit"), QStringLiteral("/E"), process::WinePath(exported),
                             QStringLiteral("HKEY_CURRENT_USER\\") + key},
                      progress);
    if (result.outcome != HandOverResult::HandedOver)
        return result;
    // regedit writes no file for a key that it does not have.
    const auto readBack = guardedfile::ReadWhole(exported, kLargestExport, QString());
    const QString exportedText = std::holds_alternative<QByteArray>(readBack)
        ? fromRegFile(std::get<QByteArray>(readBack))
        : QString();
    if (!allArrived(exportedText, text))
        return {HandOverResult::Failed, QStringLiteral("wine's registry does not hold the settings after the import.")};
    return {};
}

} // namespace wineregistry
