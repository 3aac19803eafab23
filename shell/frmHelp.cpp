#include "frmHelp.h"

#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>

#include "Controls.h"
#include "HelpTopics.h"
#include "MainWindowState.h"

namespace {

enum class Box { Help, RomDb };

struct Topic {
    const char *key;
    const char *caption;
    Box box;
    bool copiesSource; // false: the box keeps the codes sheet
};

// In the order the viewer tests them.
constexpr Topic kTopics[] = {
    {"Zandrel", "Zandrel Utilities Help", Box::Help, true},
    {"ROM Info", "ROM Information Help", Box::Help, true},
    {"Tile View", "ROM Tile Viewer Help", Box::Help, true},
    {"VB ROM DB", "VB ROM Database Help", Box::Help, true},
    {"ROM DB Have", "Collected Virtual Boy ROMs", Box::RomDb, true},
    {"ROM DB Miss", "Missing Virtual Boy ROMs", Box::RomDb, true},
    {"ROM DB Dupes", "Duplicate Virtual Boy ROMs", Box::RomDb, true},
    {"ROM DB Log", "Virtual Boy ROMs Change Log", Box::RomDb, true},
    {"Reality Boy", "Reality Boy Frontend Help", Box::Help, true},
    {"Virtual-E", "Virtual-E Frontend Help", Box::Help, true},
    {"Red Dragon", "Red Dragon Frontend Help", Box::Help, true},
    {"ROM ID Codes", "ROM Identification Codes", Box::Help, false},
};

QString resourceText(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QPlainTextEdit *textBox(QWidget *parent, Qt::ScrollBarPolicy horizontal)
{
    auto *box = controls::Place<QPlainTextEdit>(parent, 120, 120, 5655, 5775);
    box->setReadOnly(true);
    box->setVisible(false);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(8.25);
    box->setFont(font);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(horizontal);
    box->setLineWrapMode(horizontal == Qt::ScrollBarAlwaysOff ? QPlainTextEdit::WidgetWidth
                                                              : QPlainTextEdit::NoWrap);
    return box;
}

} // namespace

frmHelp::frmHelp(QWidget *parent)
    : Form(parent)
{
    setWindowTitle(QStringLiteral("Zandrel Utilities Help"));
    setClientSizeTwips(5880, 6000);
    txtHelp = textBox(client(), Qt::ScrollBarAlwaysOff);
    txtHelp->setPlainText(resourceText(QStringLiteral(":/help/RomIdCodes.txt")));
    txtRomDb = textBox(client(), Qt::ScrollBarAlwaysOn);
    setClosedByEscape(true);
}

void frmHelp::Form_Load()
{
    QString &mailbox = mainwindow::Tag();
    for (const Topic &topic : kTopics) {
        if (mailbox != QLatin1String(topic.key))
            continue;
        setWindowTitle(QString::fromLatin1(topic.caption));
        QPlainTextEdit *box = topic.box == Box::Help ? txtHelp : txtRomDb;
        box->setVisible(true);
        if (topic.copiesSource)
            box->setPlainText(help::SourceText(mailbox));
        mailbox.clear();
    }
}
