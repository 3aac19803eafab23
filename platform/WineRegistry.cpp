#include "WineRegistry.h"

#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>

#include "Forms.h"
#include "Process.h"
#include "Registry.h"

namespace wineregistry {
namespace {

// wine's first run in a fresh prefix sets the prefix up, which takes a while.
constexpr int kImportTimeoutMs = 120000;

// Runs wine and waits for it, letting the window repaint meanwhile but
// taking no user input, so nothing can start a second run inside this one.
std::optional<QString> runToEnd(const QString &wine, const QStringList &arguments)
{
    forms::BusyCursor busy;
    QProcess run;
    run.setProgram(wine);
    run.setArguments(arguments);
    run.setStandardOutputFile(QProcess::nullDevice());
    run.setStandardErrorFile(QProcess::nullDevice());
    run.start();
    if (!run.waitForStarted())
        return run.errorString();
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&run, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(kImportTimeoutMs);
    if (run.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (run.state() != QProcess::NotRunning) {
        run.kill();
        run.waitForFinished(5000);
        return QStringLiteral("wine did not finish within %1 seconds.").arg(kImportTimeoutMs / 1000);
    }
    if (run.exitStatus() != QProcess::NormalExit)
        return QStringLiteral("wine stopped unexpectedly.");
    if (run.exitCode() != 0)
        return QStringLiteral("wine ended with code %1.").arg(run.exitCode());
    return std::nullopt;
}

} // namespace

std::optional<QString> HandOver(const QString &wine, const QString &key)
{
    const QString text = registry::ExportKey(registry::Hive::CurrentUser, key);
    if (text.isEmpty())
        return std::nullopt;

    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/zandrel-XXXXXX.reg"));
    const QByteArray bytes = text.toUtf8();
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return QStringLiteral("The settings file for wine could not be written: %1").arg(file.errorString());
    file.close();
    return runToEnd(wine, {QStringLiteral("regedit"), QStringLiteral("/S"), process::WinePath(file.fileName())});
}

} // namespace wineregistry
