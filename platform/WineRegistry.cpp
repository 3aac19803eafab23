#include "WineRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <variant>

#include "Forms.h"
#include "GuardedFile.h"
#include "Process.h"
#include "Registry.h"

namespace wineregistry {
namespace {

// wine's first run in a fresh prefix sets the prefix up, which takes a while.
constexpr int kRunTimeoutMs = 120000;
// What wine exports of one program's key; far more than Virtual-E's.
constexpr qint64 kLargestExport = 16 * 1024 * 1024;

// While alive, a request to close a window ends the wait instead of the
// window: the request is held back, and made again once the wait is over.
class CloseRequests : public QObject {
public:
    explicit CloseRequests(QEventLoop &wait)
        : m_wait(wait)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~CloseRequests() override
    {
        QCoreApplication::instance()->removeEventFilter(this);
        for (const QPointer<QWidget> &window : std::as_const(m_held))
            if (window)
                QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
    }
    bool any() const { return !m_held.isEmpty(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Close || !watched->isWidgetType()
            || !static_cast<QWidget *>(watched)->isWindow())
            return false;
        m_held << static_cast<QWidget *>(watched);
        event->ignore();
        m_wait.quit();
        return true;
    }

private:
    QEventLoop &m_wait;
    QList<QPointer<QWidget>> m_held;
};

// Runs wine and waits for it with a busy cursor, letting windows repaint
// but taking no user input, so nothing can start a second run inside this one.
HandOverResult runToEnd(const QString &wine, const QStringList &arguments)
{
    forms::BusyCursor busy;
    QProcess run;
    run.setProgram(wine);
    run.setArguments(arguments);
    run.setStandardOutputFile(QProcess::nullDevice());
    run.setStandardErrorFile(QProcess::nullDevice());
    run.start();
    if (!run.waitForStarted())
        return {HandOverResult::Failed, run.errorString()};
    QEventLoop loop;
    const CloseRequests closeRequests(loop);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&run, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(kRunTimeoutMs);
    if (run.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (run.state() != QProcess::NotRunning) {
        run.kill();
        run.waitForFinished(5000);
        if (closeRequests.any())
            return {HandOverResult::Cancelled, QString()};
        return {HandOverResult::Failed, QStringLiteral("wine did not finish within %1 seconds.").arg(kRunTimeoutMs / 1000)};
    }
    if (closeRequests.any())
        return {HandOverResult::Cancelled, QString()};
    if (run.exitStatus() != QProcess::NormalExit)
        return {HandOverResult::Failed, QStringLiteral("wine stopped unexpectedly.")};
    if (run.exitCode() != 0)
        return {HandOverResult::Failed, QStringLiteral("wine ended with code %1.").arg(run.exitCode())};
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

    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/zandrel-wine-XXXXXX"));
    if (!folder.isValid())
        return {HandOverResult::Failed,
                QStringLiteral("The settings file for wine could not be written: %1").arg(folder.errorString())};
    if (const QString problem = process::WineCannotReach(folder.path()); !problem.isEmpty())
        return {HandOverResult::Failed, problem};
    const QString imported = folder.filePath(QStringLiteral("settings.reg"));
    const QString exported = folder.filePath(QStringLiteral("read-back.reg"));

    QFile file(imported);
    const QByteArray bytes = asUtf16File(text);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return {HandOverResult::Failed,
                QStringLiteral("The settings file for wine could not be written: %1").arg(file.errorString())};
    file.close();

    HandOverResult result = runToEnd(wine, {QStringLiteral("regedit"), QStringLiteral("/S"), process::WinePath(imported)});
    if (result.outcome != HandOverResult::HandedOver)
        return result;
    result = runToEnd(wine, {QStringLiteral("regedit"), QStringLiteral("/E"), process::WinePath(exported),
                             QStringLiteral("HKEY_CURRENT_USER\\") + key});
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
