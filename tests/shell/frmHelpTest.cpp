#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <memory>

#include "HelpTopics.h"
#include "MainWindowState.h"
#include "TestSupport.h"
#include "frmHelp.h"

#include <QRegularExpression>

namespace {

enum class Box { Help, RomDb };

struct TopicCase {
    const char *key;
    const char *caption;
    Box box;
};

const TopicCase kSourcedTopics[] = {
    {"Zandrel", "Zandrel Utilities Help", Box::Help},
    {"ROM Info", "ROM Information Help", Box::Help},
    {"Tile View", "ROM Tile Viewer Help", Box::Help},
    {"VB ROM DB", "VB ROM Database Help", Box::Help},
    {"ROM DB Have", "Collected Virtual Boy ROMs", Box::RomDb},
    {"ROM DB Miss", "Missing Virtual Boy ROMs", Box::RomDb},
    {"ROM DB Dupes", "Duplicate Virtual Boy ROMs", Box::RomDb},
    {"ROM DB Log", "Virtual Boy ROMs Change Log", Box::RomDb},
    {"Reality Boy", "Reality Boy Frontend Help", Box::Help},
    {"Virtual-E", "Virtual-E Frontend Help", Box::Help},
    {"Red Dragon", "Red Dragon Frontend Help", Box::Help},
};

// What a showing of the viewer looked like once it had loaded.
struct Seen {
    QString caption;
    bool helpShown = false;
    bool romDbShown = false;
    QString helpText;
    QString romDbText;
    QString mailboxAfterLoad;
};

class HelpViewer : public ::testing::Test {
protected:
    std::vector<std::unique_ptr<QPlainTextEdit>> sources;
    QList<Seen> seen;

    void SetUp() override
    {
        mainwindow::Tag().clear();
        testsupport::modalWindows().on<frmHelp>([this](frmHelp &viewer) {
            seen << Seen{viewer.windowTitle(),       !viewer.txtHelp->isHidden(),
                         !viewer.txtRomDb->isHidden(), viewer.txtHelp->toPlainText(),
                         viewer.txtRomDb->toPlainText(), mainwindow::Tag()};
        });
    }
    void TearDown() override { mainwindow::Tag().clear(); }

    // A hidden text box of an asking window, registered under its key.
    void registerSource(const QString &key, const QString &text)
    {
        sources.push_back(std::make_unique<QPlainTextEdit>(text));
        help::RegisterSource(key, sources.back().get());
    }
    Seen showWithMailbox(const QString &mailbox)
    {
        mainwindow::Tag() = mailbox;
        frmHelp viewer;
        forms::ShowModal(viewer);
        return seen.value(seen.size() - 1);
    }
};

} // namespace

TEST_F(HelpViewer, EachTopicShowsItsCaptionAndSourceTextInItsBoxAndEmptiesTheMailbox)
{
    for (const TopicCase &topic : kSourcedTopics) {
        const QString key = QString::fromLatin1(topic.key);
        const QString text = QStringLiteral("Text of %1\r\nsecond line").arg(key);
        registerSource(key, text);

        help::ShowTopic(key);
        const Seen s = seen.last();
        SCOPED_TRACE(topic.key);
        EXPECT_EQ(s.caption, QString::fromLatin1(topic.caption));
        EXPECT_EQ(s.helpShown, topic.box == Box::Help);
        EXPECT_EQ(s.romDbShown, topic.box == Box::RomDb);
        EXPECT_EQ(topic.box == Box::Help ? s.helpText : s.romDbText, QPlainTextEdit(text).toPlainText());
        EXPECT_TRUE(s.mailboxAfterLoad.isEmpty());
    }
}

TEST_F(HelpViewer, TheCodesSheetKeepsItsOwnText)
{
    registerSource(QStringLiteral("ROM ID Codes"), QStringLiteral("must not be copied"));
    const Seen s = showWithMailbox(QStringLiteral("ROM ID Codes"));
    EXPECT_EQ(s.caption, QStringLiteral("ROM Identification Codes"));
    EXPECT_TRUE(s.helpShown);
    EXPECT_FALSE(s.romDbShown);
    EXPECT_TRUE(s.helpText.contains(QStringLiteral("STANDARD CODES")));
    EXPECT_TRUE(s.helpText.contains(QStringLiteral("COUNTRY CODES")));
    EXPECT_FALSE(s.helpText.contains(QStringLiteral("must not be copied")));
    EXPECT_TRUE(s.mailboxAfterLoad.isEmpty());
}

TEST_F(HelpViewer, AKeyOfNoTopicShowsTheEmptyWindowAndLeavesTheMailbox)
{
    for (const QString &key : {QStringLiteral("rom info"), QStringLiteral("ROM INFO"), QStringLiteral("Nothing"),
                              QString()}) {
        const Seen s = showWithMailbox(key);
        SCOPED_TRACE(key.toStdString());
        EXPECT_EQ(s.caption, QStringLiteral("Zandrel Utilities Help"));
        EXPECT_FALSE(s.helpShown);
        EXPECT_FALSE(s.romDbShown);
        EXPECT_EQ(s.mailboxAfterLoad, key);
    }
}

TEST_F(HelpViewer, TwoShowingsInARowEachShowTheirOwnTopic)
{
    registerSource(QStringLiteral("ROM DB Log"), QStringLiteral("the change log"));
    registerSource(QStringLiteral("Zandrel"), QStringLiteral("the main help"));

    help::ShowTopic(QStringLiteral("ROM DB Log"));
    help::ShowTopic(QStringLiteral("Zandrel"));
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0].caption, QStringLiteral("Virtual Boy ROMs Change Log"));
    EXPECT_EQ(seen[0].romDbText, QStringLiteral("the change log"));
    EXPECT_EQ(seen[1].caption, QStringLiteral("Zandrel Utilities Help"));
    EXPECT_TRUE(seen[1].helpShown);
    EXPECT_FALSE(seen[1].romDbShown);
    EXPECT_TRUE(seen[1].romDbText.isEmpty());
    EXPECT_EQ(seen[1].helpText, QStringLiteral("the main help"));
}

TEST_F(HelpViewer, ASourceThatIsGoneGivesAnEmptyText)
{
    registerSource(QStringLiteral("ROM Info"), QStringLiteral("help of a closed window"));
    sources.clear();
    const Seen s = showWithMailbox(QStringLiteral("ROM Info"));
    EXPECT_EQ(s.caption, QStringLiteral("ROM Information Help"));
    EXPECT_TRUE(s.helpText.isEmpty());
}

TEST_F(HelpViewer, EscapeClosesIt)
{
    registerSource(QStringLiteral("Zandrel"), QStringLiteral("the main help"));
    mainwindow::Tag() = QStringLiteral("Zandrel");
    frmHelp viewer;
    viewer.load();
    viewer.show();
    testsupport::pressKey(viewer.txtHelp, Qt::Key_Escape);
    EXPECT_TRUE(viewer.isUnloaded());
}

// The viewer wraps a paragraph to its box. A line broken by hand wider than
// the box breaks twice ("...views, runs / and manipulates / aspects of..."):
// every hand-broken line of a help text fits the box, and a longer line is a
// whole paragraph or sentence that the box wraps. The codes sheet is a
// drawing: every one of its lines fits.
TEST_F(HelpViewer, EveryHelpTextFitsTheViewersBox)
{
    mainwindow::Tag() = QStringLiteral("ROM ID Codes");
    frmHelp viewer;
    viewer.load();
    viewer.show();
    QPlainTextEdit *box = viewer.txtHelp;
    ASSERT_TRUE(box->isVisible());
    const QFontMetrics metrics(box->font());
    const int margin = int(2 * box->document()->documentMargin());
    const int room = box->viewport()->width() - margin;
    const auto fits = [&](const QString &line) { return metrics.horizontalAdvance(line) <= room; };

    int texts = 0;
    QDirIterator it(QStringLiteral(ZANDREL_SOURCE_DIR), {QStringLiteral("*.txt")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.contains(QStringLiteral("/help/")) || path.contains(QStringLiteral("/build")))
            continue;
        ++texts;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const bool drawing = path.endsWith(QStringLiteral("RomIdCodes.txt"));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QRegularExpression(QStringLiteral("\r?\n")));
        for (const QString &line : lines) {
            const bool endsASentence = QStringLiteral(".:!?").contains(line.trimmed().right(1));
            EXPECT_TRUE(fits(line) || (!drawing && endsASentence))
                << path.toStdString() << ": " << line.toStdString();
        }
    }
    EXPECT_GE(texts, 4);
}
