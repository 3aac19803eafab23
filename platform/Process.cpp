#include "Process.h"

#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <limits>
#include <vector>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "GuardedFile.h"
#include "MsgBox.h"
#include "Paths.h"
#include "SaveFile.h"
#include "WineRegistry.h"

namespace process {
namespace {

Launcher g_launcher;
QString g_handedOnFolder;

using msgbox::CR;
const QString kFailureTitle = QStringLiteral("Unable to start program");
const QString kRenameIt = QStringLiteral("Rename it (or its folder) to use it.");

enum class Kind { Native, Windows, Dos, NotRunnable, Unknown };

// Tells the program's kind by its first bytes: "\x7F" "ELF", "#!", or "MZ"
// with (Windows) or without (DOS) a "PE" header where the DOS header points.
Kind kindOf(const QString &file)
{
    // Through the guarded open: a pipe of the program's name is never waited on.
    auto opened = guardedfile::Open(file, std::numeric_limits<qint64>::max(), QString());
    guardedfile::File *f = std::get_if<guardedfile::File>(&opened);
    if (!f)
        return Kind::Unknown;
    QByteArray head(64, Qt::Uninitialized);
    head.truncate(qsizetype(std::max<qint64>(0, f->read(head.data(), head.size()))));
    if (head.startsWith("\x7F" "ELF") || head.startsWith("#!"))
        return paths::IsExecutable(file) ? Kind::Native : Kind::NotRunnable;
    if (!head.startsWith("MZ"))
        return Kind::Unknown;
    if (head.size() < 64)
        return Kind::Dos;
    const quint32 peOffset = qFromLittleEndian<quint32>(head.constData() + 0x3C);
    char signature[4];
    if (peOffset < 64 || f->readAt(peOffset, signature, sizeof signature) != qint64(sizeof signature))
        return Kind::Dos;
    return QByteArrayView(signature, sizeof signature) == QByteArrayView("PE\0\0", 4) ? Kind::Windows : Kind::Dos;
}

// The folder and the word of a request's program ("/opt/rboy", "RBOY").
std::pair<QString, QString> folderAndWord(const QString &program)
{
    const qsizetype slash = program.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return {QString(), program};
    return {slash == 0 ? QStringLiteral("/") : program.left(slash), program.mid(slash + 1)};
}

Prepared failed(const QString &message)
{
    return Prepared{std::nullopt, message};
}

// Writes the errno of a failed step to the starter and ends the child.
[[noreturn]] void reportAndEnd(int reportFd)
{
    const int code = errno;
    [[maybe_unused]] const ssize_t written = ::write(reportFd, &code, sizeof code);
    ::_exit(127);
}

// Starts the program on its own, as a grandchild that nobody waits for, with
// its name, its arguments and its working folder by their real bytes (a
// QProcess would spell a stray byte of a name as "?"). A start the system
// refuses (a working folder that went, a file that can't run) is the
// failure, in the system's words.
std::optional<QString> startDetached(const Launch &launch)
{
    QByteArrayList words{paths::EncodeFileName(launch.program)};
    for (const QString &argument : launch.arguments)
        words << paths::EncodeFileName(argument);
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const QByteArray folder = paths::EncodeFileName(launch.request.workingFolder);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return savefile::ErrorText(errno);
    // Between fork and exec only calls that are safe in a copy of a threaded process.
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t program = ::fork();
        if (program < 0)
            reportAndEnd(report[1]);
        if (program > 0)
            ::_exit(0);
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(SIGPIPE, SIG_DFL);
        if (!folder.isEmpty() && ::chdir(folder.constData()) != 0)
            reportAndEnd(report[1]);
        ::execv(argv[0], argv.data());
        reportAndEnd(report[1]);
    }
    const int forkError = errno;
    ::close(report[1]);
    int code = 0;
    if (child < 0) {
        code = forkError;
    } else {
        int status;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        // The report's end closes at the exec, or carries why there was none.
        ssize_t got;
        while ((got = ::read(report[0], &code, sizeof code)) < 0 && errno == EINTR) {
        }
        if (got != ssize_t(sizeof code))
            code = 0;
    }
    ::close(report[0]);
    if (code != 0)
        return savefile::ErrorText(code);
    return std::nullopt;
}

} // namespace

QString CommandLine(const StartRequest &request)
{
    QString line = request.program;
    for (const Argument &argument : request.arguments)
        line += QLatin1Char(' ') + argument.text;
    return line;
}

QString FindProgram(const QString &folder, const QString &word)
{
    if (word.isEmpty())
        return QString();
    const QString asWritten = paths::FindFileNoCase(folder, word);
    if (!asWritten.isEmpty())
        return asWritten;
    // With ".exe" when the word has none, without it when it has one: a
    // native build or a wrapper script stands in for the Windows program.
    static const QString exe = QStringLiteral(".exe");
    if (word.endsWith(exe, Qt::CaseInsensitive))
        return word.size() > exe.size() ? paths::FindFileNoCase(folder, word.chopped(exe.size())) : QString();
    return paths::FindFileNoCase(folder, word + exe);
}

Prepared Prepare(const StartRequest &request)
{
    const auto [folder, word] = folderAndWord(request.program);
    const QString file = FindProgram(folder, word);
    if (file.isEmpty())
        return failed(QStringLiteral("Unable to find the program \"%1\" in the folder:").arg(word) + CR
                      + (folder.isEmpty() ? paths::CurrentFolder() : folder));

    Launch launch;
    launch.request = request;
    if (launch.request.workingFolder.isEmpty())
        launch.request.workingFolder = g_handedOnFolder;
    const QString &workingFolder = launch.request.workingFolder;
    if (!workingFolder.isEmpty() && !paths::IsFolder(workingFolder))
        return failed(QStringLiteral("Unable to start the program \"%1\": its working folder does not exist:").arg(word)
                      + CR + workingFolder);

    switch (kindOf(file)) {
    case Kind::Native:
        launch.runner = Runner::Native;
        launch.program = file;
        for (const Argument &argument : request.arguments)
            launch.arguments << argument.text;
        return Prepared{launch, QString()};
    case Kind::Windows: {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty())
            return failed(file + CR + QStringLiteral("is a Windows program. Windows programs are started through wine, ")
                          + QStringLiteral("which is not installed or not on the PATH.") + CR
                          + QStringLiteral("Install wine to start this program."));
        launch.runner = Runner::Wine;
        launch.program = wine;
        launch.arguments << WinePath(file);
        for (const Argument &argument : request.arguments)
            launch.arguments << (argument.isPath ? WinePath(argument.text) : argument.text);
        // Never hand over a path that the program could not open, nor a
        // working folder that wine would silently replace with its own.
        QStringList paths{file};
        for (const Argument &argument : request.arguments)
            if (argument.isPath)
                paths << argument.text;
        const QString headline = QStringLiteral("Unable to start the program \"%1\" through wine").arg(word);
        for (const QString &path : std::as_const(paths))
            if (const QString problem = WineCannotReach(path); !problem.isEmpty())
                return failed(headline + QLatin1Char(':') + CR + path + CR + problem + CR + kRenameIt);
        const QString runsIn = workingFolder.isEmpty() ? paths::CurrentFolder() : workingFolder;
        if (const QString problem = WineCannotReach(runsIn); !problem.isEmpty())
            return failed(headline + QStringLiteral(" in its working folder:") + CR + runsIn + CR + problem + CR
                          + kRenameIt);
        return Prepared{launch, QString()};
    }
    case Kind::Dos:
        return failed(file + CR + QStringLiteral("is a DOS program, which cannot be started here.") + CR
                      + QStringLiteral("Run it in a DOS emulator such as DOSBox."));
    case Kind::NotRunnable:
        return failed(file + CR + QStringLiteral("is a Linux program that is not marked as runnable.") + CR
                      + QStringLiteral("Give it the run permission (chmod +x) to start it."));
    case Kind::Unknown:
        break;
    }
    return failed(file + CR + QStringLiteral("is not a program that can be started: it is neither a Linux ")
                  + QStringLiteral("program nor a Windows program."));
}

bool Start(const StartRequest &request, const std::function<bool()> &beforeStart)
{
    const Prepared prepared = Prepare(request);
    if (!prepared.launch) {
        msgbox::MsgBox(prepared.failure, msgbox::vbExclamation, kFailureTitle);
        return false;
    }
    if (beforeStart && !beforeStart())
        return false;
    const Launch &launch = *prepared.launch;
    if (launch.runner == Runner::Wine && !request.wineRegistryKey.isEmpty()) {
        const wineregistry::HandOverResult handOver = wineregistry::HandOver(launch.program, request.wineRegistryKey);
        if (handOver.outcome == wineregistry::HandOverResult::Cancelled)
            return false; // the user no longer wants the start
        if (handOver.outcome == wineregistry::HandOverResult::Failed) {
            msgbox::MsgBox(QStringLiteral("Unable to hand the settings of the program to wine:") + CR
                               + launch.request.program + CR + handOver.failure + CR
                               + QStringLiteral("The program was not started."),
                           msgbox::vbExclamation, kFailureTitle);
            return false;
        }
    }
    const std::optional<QString> failure = g_launcher ? g_launcher(launch) : startDetached(launch);
    if (failure) {
        msgbox::MsgBox(QStringLiteral("Unable to start the program:") + CR + launch.program + CR + *failure,
                       msgbox::vbExclamation, kFailureTitle);
        return false;
    }
    return true;
}

QString WinePath(const QString &path)
{
    if (path.isEmpty())
        return path;
    QString absolute = path.startsWith(QLatin1Char('/')) ? path : paths::AbsolutePath(path);
    return QStringLiteral("Z:") + absolute.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

namespace {

// A byte of a name that is not UTF-8 (paths::DecodeFileName keeps it as a
// lone surrogate): wine reads names as UTF-8 and has no form that reaches it.
bool holdsStrayByte(const QString &name)
{
    for (qsizetype i = 0; i < name.size(); ++i)
        if (name.at(i).isLowSurrogate() && (i == 0 || !name.at(i - 1).isHighSurrogate()))
            return true;
    return false;
}

// The device that Windows opens for a name, whatever its letter case and
// extension ("nul.vb", "Com1.vb"), or "".
QString windowsDevice(const QString &name)
{
    static const QStringList kDevices = [] {
        QStringList devices{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL")};
        for (char digit = '1'; digit <= '9'; ++digit)
            devices << QStringLiteral("COM") + QLatin1Char(digit) << QStringLiteral("LPT") + QLatin1Char(digit);
        return devices;
    }();
    // Windows takes the part before the first dot, less trailing blanks.
    QString stem = name.section(QLatin1Char('.'), 0, 0);
    while (stem.endsWith(QLatin1Char(' ')))
        stem.chop(1);
    stem = stem.toUpper();
    return kDevices.contains(stem) ? stem : QString();
}

// What keeps a program under wine from opening a file or folder of this
// name, or "".
QString nameFault(const QString &name)
{
    // Windows names can't hold these, nor control characters.
    static const QString kUnopenable = QStringLiteral("\\\"?*<>|");
    for (const QChar c : name) {
        if (c.unicode() >= 0x01 && c.unicode() < 0x20)
            return QStringLiteral("holds the control character U+%1")
                .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
        if (kUnopenable.contains(c))
            return QStringLiteral("holds the character %1").arg(c);
    }
    if (holdsStrayByte(name))
        return QStringLiteral("is not UTF-8 text");
    // Windows names lose a last dot or blank.
    if (name.endsWith(QLatin1Char('.')))
        return QStringLiteral("ends in a dot");
    if (name.endsWith(QLatin1Char(' ')))
        return QStringLiteral("ends in a blank");
    if (const QString device = windowsDevice(name); !device.isEmpty())
        return QStringLiteral("is taken by Windows for its device %1").arg(device);
    return QString();
}

} // namespace

QString WineCannotReach(const QString &path)
{
    for (const QString &name : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        if (const QString fault = nameFault(name); !fault.isEmpty())
            return QStringLiteral("The name \"%1\" %2, which a Windows program under wine cannot open.").arg(name, fault);
    }
    return QString();
}

QString GetShortPath(const QString &path)
{
    return paths::Exists(path) ? path : QString();
}

HandOnWorkingFolder::HandOnWorkingFolder(const QString &folder)
    : m_outer(g_handedOnFolder)
{
    g_handedOnFolder = folder;
}

HandOnWorkingFolder::~HandOnWorkingFolder()
{
    g_handedOnFolder = m_outer;
}

void SetLauncher(Launcher launcher)
{
    g_launcher = std::move(launcher);
}

} // namespace process
