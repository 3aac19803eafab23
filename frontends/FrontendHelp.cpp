#include "FrontendHelp.h"

#include <QFile>
#include <QPlainTextEdit>

#include "HelpTopics.h"

// Resources of a static library are registered by name, outside any namespace.
static void registerFrontendResources()
{
    Q_INIT_RESOURCE(frontends);
}

namespace frontendhelp {

QPlainTextEdit *CreateHelpBox(QWidget *parent, const QString &topicKey, const QString &pageName)
{
    registerFrontendResources();
    auto *box = new QPlainTextEdit(parent);
    box->setVisible(false);
    box->setFont(QFont(QStringLiteral("Courier New")));
    QFile page(QStringLiteral(":/frontends/") + pageName);
    if (page.open(QIODevice::ReadOnly))
        box->setPlainText(QString::fromUtf8(page.readAll()));
    help::RegisterSource(topicKey, box);
    return box;
}

} // namespace frontendhelp
