#include "HelpTopics.h"

#include <QApplication>
#include <QHash>
#include <QObject>
#include <QPlainTextEdit>
#include <QPointer>

#include "MainWindowState.h"
#include "frmHelp.h"

// The help texts are compiled into the shell's static library, where nothing
// would otherwise pull their resources into the program.
static const bool helpResourcesRegistered = [] {
    Q_INIT_RESOURCE(help);
    return true;
}();

namespace help {
namespace {

QHash<QString, QPointer<QPlainTextEdit>> &sources()
{
    static QHash<QString, QPointer<QPlainTextEdit>> map;
    return map;
}

} // namespace

void RegisterSource(const QString &topicKey, QPlainTextEdit *box)
{
    sources().insert(topicKey, box);
}

QString SourceText(const QString &topicKey)
{
    const QPointer<QPlainTextEdit> box = sources().value(topicKey);
    return box ? box->toPlainText() : QString();
}

void ShowTopic(const QString &topicKey)
{
    mainwindow::Tag() = topicKey;
    // Owned by the asking window, so the window manager keeps it above it.
    frmHelp viewer(QApplication::activeWindow());
    forms::ShowModal(viewer);
}

} // namespace help
