// The ROM database window on small generated folders: its options and
// their handlers, the folder listing, identification runs with progress,
// renaming, cancel and close requests, the list files, the summaries and
// the report of one file.

#include "CollectionSummaries.h"
#include "CraftedRoms.h"
#include "KnownRomTable.h"
#include "RomDbFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include <memory>

#include <sys/stat.h>

#include "Controls.h"
#include "MainWindowState.h"
#include "Paths.h"
#include "ProgressPicture.h"
#include "SettingsStore.h"
#include "frmHelp.h"
#include "frmSelectDir.h"
#include "frmVbRomDatabase.h"

using namespace romdb;

namespace {

const QString kTetris = QStringLiteral("3D Tetris (U) [!]");
const QString kCroach = QStringLiteral("Croach, The (PD)");
const QString kWaiting = QStringLiteral(" - [YET TO BE IDENTIFIED]");
const QStringList kOptionKeys = {QStringLiteral("Detailed ROM Lists"), QStringLiteral("Rename ROMs"),
                                 QStringLiteral("Move ROMs"), QStringLiteral("Create Change Log")};

QStringList StoredOptions()
{
    QStringList values;
    for (const QString &key : kOptionKeys)
        values << settings::Get(key);
    return values;
}

QStringList BoxTitles()
{
    QStringList titles;
    for (const msgbox::Call &call : testsupport::messageBoxes().calls)
        titles << call.title;
    return titles;
}

// A list text as a text box gives it back: one line break per CR LF.
QString AsShown(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

class RomDbWindow : public RomDbFixture {
protected:
    void SetUp() override
    {
        RomDbFixture::SetUp();
        mainwindow::Tag().clear();
        settings::Save(QStringLiteral("Base Directory"), folder);
    }
    void TearDown() override { mainwindow::Tag().clear(); }

    // The window loaded on the test's folder, every drawing of its
    // progress bar recorded (and passed to `onDrawn`, to act mid-run).
    std::unique_ptr<frmVbRomDatabase> open()
    {
        auto w = std::make_unique<frmVbRomDatabase>();
        watch(*w);
        w->load();
        return w;
    }
    void watch(frmVbRomDatabase &w)
    {
        QObject::connect(w.picPercent, &ProgressPicture::drawn, [this](int percent) {
            drawn << percent;
            if (onDrawn)
                onDrawn(percent);
        });
    }
    // Starts a run as the user does, answering Yes to the confirmation.
    static void identify(frmVbRomDatabase &w)
    {
        testsupport::messageBoxes().answerNext(msgbox::vbYes);
        w.cmdIdentifyRoms->click();
    }
    static QStringList lines(const frmVbRomDatabase &w)
    {
        QStringList texts;
        for (int i = 0; i < w.lstFileIdentify->count(); ++i)
            texts << w.lstFileIdentify->item(i)->text();
        return texts;
    }
    static void setOptions(std::initializer_list<std::pair<QString, const char *>> values)
    {
        for (const auto &[key, value] : values)
            settings::Save(key, QString::fromLatin1(value));
    }
    // The result buttons, Have/Miss/Dupes/Log/Save, as enabled or not.
    static QList<bool> resultButtons(const frmVbRomDatabase &w)
    {
        return {w.cmdVboyHave->isEnabled(), w.cmdVboyMiss->isEnabled(), w.cmdVBoyDupes->isEnabled(),
                w.cmdVBoyLog->isEnabled(), w.cmdSaveVboy->isEnabled()};
    }
    QString sub(const QString &name) const { return QDir(folder).filePath(name); }

    QList<int> drawn;
    std::function<void(int)> onDrawn;
};

TEST_F(RomDbWindow, OpensWithItsDesignStateMenusAndHelp)
{
    put("a.vb", craftedroms::UnknownImage(4096));
    auto w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("VB ROM Database"));
    EXPECT_EQ(w->client()->size(), QSize(440, 328));
    EXPECT_TRUE(w->cmdIdentifyRoms->isEnabled());
    EXPECT_FALSE(w->cmdCancelIdentify->isEnabled());
    EXPECT_EQ(resultButtons(*w), QList<bool>({false, false, false, false, false}));
    EXPECT_FALSE(w->picPercent->isEnabled());
    EXPECT_EQ(w->lblPercent->text(), QStringLiteral("0%"));
    EXPECT_FALSE(w->chkMoveRoms->isEnabled());
    EXPECT_EQ(w->cmdSaveVboy->text(), QStringLiteral("Save Have/Miss/ Duplicates Lists"));
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());

    EXPECT_EQ(w->mnuFileBack->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(w->mnuHelpHelp->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(w->mnuHelpCodes->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F1));
    EXPECT_TRUE(w->MnuHelpSep1->isSeparator());

    QStringList captions;
    QStringList texts;
    testsupport::modalWindows().on<frmHelp>([&](frmHelp &viewer) {
        captions << viewer.windowTitle();
        texts << viewer.txtHelp->toPlainText();
    });
    w->mnuHelpHelp->trigger();
    w->mnuHelpCodes->trigger();
    ASSERT_EQ(captions, QStringList({"VB ROM Database Help", "ROM Identification Codes"}));
    const QStringList helpLines = texts.first().split(QLatin1Char('\n'));
    ASSERT_GE(helpLines.size(), 32);
    EXPECT_EQ(helpLines.mid(0, 2), QStringList({"VB ROM Databse:", "==============="}));
    EXPECT_EQ(helpLines.at(31), QStringLiteral("Refresh List: Refreshes the list of files to be searched. If a search "
                                               "has already been completed, a new search must be done after refreshing "
                                               "the list."));
}

// The stored options set the boxes in load order; each that changes runs
// its handler, which stores all four keys. Each case starts from four blank
// keys (read as 0), so a blank after loading is a key no handler wrote.
TEST_F(RomDbWindow, StoredOptionsSetTheBoxesThroughTheirHandlers)
{
    struct OptionsCase {
        const char *what;
        std::initializer_list<std::pair<QString, const char *>> stored;
        QList<bool> ticked; // detailed, rename, move, change log
        bool moveEnabled;
        QStringList storedAfter;
    };
    const OptionsCase cases[] = {
        {"nothing stored", {}, {false, false, false, false}, false, {"", "", "", ""}},
        {"Rename ROMs", {{kOptionKeys[1], "1"}}, {false, true, false, false}, true, {"0", "1", "0", "0"}},
        {"everything", {{kOptionKeys[0], "1"}, {kOptionKeys[1], "1"}, {kOptionKeys[2], "1"}, {kOptionKeys[3], "1"}},
         {true, true, true, true}, true, {"1", "1", "1", "1"}},
        {"Move ROMs without Rename ROMs", {{kOptionKeys[2], "1"}}, {false, false, true, false}, false,
         {"0", "0", "1", "0"}},
        {"values no check box has", {{kOptionKeys[0], "2"}, {kOptionKeys[1], "-1"}}, {false, false, false, false},
         false, {"2", "-1", "", ""}},
    };
    for (const OptionsCase &c : cases) {
        SCOPED_TRACE(c.what);
        for (const QString &key : kOptionKeys)
            settings::Save(key, QString());
        setOptions(c.stored);
        auto w = open();
        EXPECT_EQ(QList<bool>({w->chkDetailedList->isChecked(), w->chkRenameRoms->isChecked(),
                               w->chkMoveRoms->isChecked(), w->chkChangeLog->isChecked()}),
                  c.ticked);
        EXPECT_EQ(w->chkMoveRoms->isEnabled(), c.moveEnabled);
        EXPECT_EQ(StoredOptions(), c.storedAfter);
    }
}

TEST_F(RomDbWindow, RenameAndChangeLogKeepTheirDependentsInLine)
{
    setOptions({{kOptionKeys[3], "1"}});
    auto w = open();
    EXPECT_EQ(w->cmdSaveVboy->text(), QStringLiteral("Save Have/Miss/ Duplicates/Log Lists"));
    EXPECT_EQ(w->txtVBoyLog->toPlainText(), QStringLiteral("File change log:\n  No changes\n"));
    EXPECT_FALSE(w->cmdVBoyLog->isEnabled());

    w->chkRenameRoms->click();
    EXPECT_TRUE(w->chkMoveRoms->isEnabled());
    w->chkMoveRoms->click();
    EXPECT_EQ(StoredOptions(), QStringList({"0", "1", "1", "1"}));
    w->chkRenameRoms->click();
    EXPECT_FALSE(w->chkMoveRoms->isEnabled());
    EXPECT_FALSE(w->chkMoveRoms->isChecked());
    EXPECT_EQ(StoredOptions(), QStringList({"0", "0", "0", "1"}));
    w->chkRenameRoms->click();
    EXPECT_TRUE(w->chkMoveRoms->isEnabled());
    EXPECT_FALSE(w->chkMoveRoms->isChecked());

    w->chkChangeLog->click();
    EXPECT_EQ(w->cmdSaveVboy->text(), QStringLiteral("Save Have/Miss/ Duplicates Lists"));
    EXPECT_EQ(StoredOptions(), QStringList({"0", "1", "0", "0"}));
}

TEST_F(RomDbWindow, ListsTheFoldersRomFilesInNameOrder)
{
    put("b.vb", QByteArray(10, 'b'));
    put("abcd.VB", QByteArray(10, 'c'));
    put("a.vb", QByteArray(10, 'a'));
    put("notes.txt", "not a ROM");
    QDir(folder).mkdir(QStringLiteral("dir.vb"));
    auto w = open();
    EXPECT_EQ(lines(*w), QStringList({"a.vb   " + kWaiting, "abcd.VB" + kWaiting, "b.vb   " + kWaiting}));
    EXPECT_EQ(w->lblRomDir->text(), folder + QStringLiteral("/*.vb"));
    EXPECT_TRUE(w->cmdIdentifyRoms->isEnabled());
}

// A name that begins with a byte-order mark (a character of no width) takes
// as many columns as it shows: its row in the list and its line in the change
// log keep the columns of the others, as the fixed-pitch font draws them.
TEST_F(RomDbWindow, ANameBeginningWithAByteOrderMarkKeepsTheColumns)
{
    put(QStringLiteral(u"\uFEFFzz.vb"), craftedroms::CatalogueImage(kTetris));
    put("abc.vb", craftedroms::CatalogueImage(kCroach));
    setOptions({{kOptionKeys[1], "1"}, {kOptionKeys[3], "1"}});
    auto w = open();
    const QFontMetrics listFont(w->lstFileIdentify->font());
    // The part before " - " is as wide in both rows.
    const auto nameWidth = [&](int row) {
        const QString shown = w->lstFileIdentify->shownText(w->lstFileIdentify->item(row)->text());
        return listFont.horizontalAdvance(shown.left(shown.indexOf(QStringLiteral(" - "))));
    };
    ASSERT_EQ(w->lstFileIdentify->count(), 2);
    EXPECT_EQ(nameWidth(0), nameWidth(1)) << lines(*w).join('|').toStdString();

    identify(*w);
    QStringList logLines;
    QFont logFont;
    testsupport::modalWindows().on<frmHelp>([&](frmHelp &viewer) {
        logLines = viewer.txtRomDb->toPlainText().split(QLatin1Char('\n'));
        logFont = viewer.txtRomDb->font();
    });
    w->cmdVBoyLog->click();
    QList<int> targetColumns;
    for (const QString &line : std::as_const(logLines))
        if (const qsizetype at = line.indexOf(QStringLiteral(" moved to ")); at >= 0 && !line.left(at).contains(QStringLiteral("~ROMTMP")))
            targetColumns << QFontMetrics(logFont).horizontalAdvance(line.left(at));
    ASSERT_EQ(targetColumns.size(), 2) << logLines.join('|').toStdString();
    EXPECT_EQ(targetColumns[0], targetColumns[1]) << logLines.join('|').toStdString();
}

// A folder and a ROM named in Latin-1: the lists go into that very folder and
// name the ROM by its real bytes.
TEST_F(RomDbWindow, TheListsOfAFolderNamedInLatin1NameItsRomsByTheirBytes)
{
    const QByteArray latin = paths::EncodeFileName(testsupport::tempDir()) + "/jeux\xE9";
    testsupport::writeFile(paths::DecodeFileName("jeux\xE9/caf\xE9.vb"), craftedroms::CatalogueImage(kTetris));
    settings::Save(QStringLiteral("Base Directory"), paths::DecodeFileName(latin));
    setOptions({{kOptionKeys[0], "1"}, {kOptionKeys[3], "1"}});
    auto w = open();
    identify(*w);
    w->cmdSaveVboy->click();
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Files saved"));
    const QByteArray have = testsupport::readFile(paths::DecodeFileName(latin + "/VBoyHave.txt"));
    EXPECT_TRUE(have.contains("\"caf\xE9.vb\"")) << have.toStdString();
}

TEST_F(RomDbWindow, AFolderWithoutRomsSaysSoAtEveryListing)
{
    for (const QString &base : {folder, sub(QStringLiteral("missing"))}) {
        SCOPED_TRACE(base.toStdString());
        testsupport::messageBoxes().calls.clear();
        settings::Save(QStringLiteral("Base Directory"), base);
        auto w = open();
        const QString prompt = QStringLiteral("No ROMs found in directory:\r") + base +
                               QStringLiteral("\rPlease choose another directory.");
        ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
        EXPECT_EQ(testsupport::messageBoxes().last().prompt, prompt);
        EXPECT_EQ(testsupport::messageBoxes().last().style, msgbox::vbExclamation);
        EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("No ROMs found"));
        EXPECT_EQ(w->lstFileIdentify->count(), 0);
        EXPECT_EQ(w->lblRomDir->text(), base + QStringLiteral("/*.vb"));
        EXPECT_FALSE(w->cmdIdentifyRoms->isEnabled());

        w->cmdRefresh->click();
        EXPECT_EQ(testsupport::messageBoxes().calls.size(), 2);
        // A run on nothing ends at its first step.
        w->cmdIdentifyRoms_Click();
        EXPECT_EQ(BoxTitles(), QStringList({"No ROMs found", "No ROMs found", "No ROMs found"}));
        EXPECT_TRUE(drawn.isEmpty());
    }
}

TEST_F(RomDbWindow, ChoosingAFolderListsItAndCancellingListsTheBaseDirectoryAgain)
{
    put("base.vb", QByteArray(10, 'a'));
    const QString other = QDir(testsupport::tempDir()).filePath(QStringLiteral("other"));
    testsupport::writeFile(QStringLiteral("other/x.vb"), QByteArray(10, 'x'));
    auto w = open();

    QString pickerStart;
    testsupport::modalWindows().on<frmSelectDir>([&](frmSelectDir &picker) {
        pickerStart = picker.lblFilename->text();
        if (pickerStart == folder) {
            picker.Tag = other; // as Select leaves it
            picker.hide();
        }
    });
    w->cmdSelectDir->click();
    EXPECT_EQ(pickerStart, folder);
    EXPECT_EQ(lines(*w), QStringList({"x.vb" + kWaiting}));
    EXPECT_EQ(w->lblRomDir->text(), other + QStringLiteral("/*.vb"));

    settings::Save(QStringLiteral("Base Directory"), other);
    w->cmdSelectDir->click(); // opens on the stored folder; cancelled
    EXPECT_EQ(lines(*w), QStringList({"base.vb" + kWaiting}));
    EXPECT_TRUE(mainwindow::Tag().isEmpty());
}

TEST_F(RomDbWindow, ARunIdentifiesEveryFileWithProgressAndSaysItIsComplete)
{
    put("a.vb", craftedroms::CatalogueImage(kTetris));
    put("b.vb", craftedroms::CatalogueImage(kTetris, "MY TETRIS"));
    put("c.vb", craftedroms::UnknownImage(65536));
    put("d.vb", QByteArray(544, '\0'));
    auto w = open();

    // No: nothing changes.
    testsupport::messageBoxes().answerNext(msgbox::vbNo);
    w->cmdIdentifyRoms->click();
    EXPECT_EQ(testsupport::messageBoxes().last().prompt,
              QStringLiteral("NOTE: Identifying ROMs may take a while.\n\nDo you wish to continue?"));
    EXPECT_EQ(testsupport::messageBoxes().last().style, 308);
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Continue operation?"));
    EXPECT_EQ(w->txtVBoyHave->toPlainText(), QStringLiteral("VBoyHave"));
    EXPECT_TRUE(drawn.isEmpty());

    bool busyDuringRun = false;
    onDrawn = [&](int percent) {
        if (percent != 75)
            return;
        busyDuringRun = QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        testsupport::saveScreenshot(*w, QStringLiteral("frmVbRomDatabase-during-run"));
    };
    identify(*w);
    EXPECT_TRUE(busyDuringRun);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(lines(*w), QStringList({"a.vb - 3D Tetris (U) [!]", "b.vb - 3D Tetris (U) [h]",
                                      "c.vb - [UNKNOWN VB ROM]", "d.vb - [INVALID VB ROM IMAGE]"}));
    EXPECT_EQ(drawn, QList<int>({0, 0, 25, 50, 75, 100, 0}));
    const msgbox::Call done = testsupport::messageBoxes().last();
    EXPECT_EQ(done.prompt, QStringLiteral("ROM identification complete."));
    EXPECT_EQ(done.style, msgbox::vbExclamation);
    EXPECT_EQ(done.title, QStringLiteral("Complete"));

    EXPECT_EQ(resultButtons(*w), QList<bool>({true, true, true, false, true}));
    EXPECT_TRUE(w->cmdIdentifyRoms->isEnabled());
    EXPECT_FALSE(w->cmdCancelIdentify->isEnabled());
    EXPECT_FALSE(w->picPercent->isEnabled());
    EXPECT_EQ(w->lblPercent->text(), QStringLiteral("0%"));
    EXPECT_TRUE(w->Tag.isEmpty());
    EXPECT_FALSE(w->runInProgress());
    const RomListTexts &texts = w->database().lists();
    EXPECT_TRUE(texts.haveText().contains(QStringLiteral("  3D Tetris (U) [!]\r\n")));
    EXPECT_EQ(w->txtVBoyHave->toPlainText(), AsShown(texts.haveText()));
    EXPECT_EQ(w->txtVBoyMiss->toPlainText(), AsShown(texts.missText()));
    EXPECT_EQ(w->txtVBoyDupes->toPlainText(), AsShown(texts.dupesText()));

    testsupport::saveScreenshot(*w, QStringLiteral("frmVbRomDatabase-after-run"));

    // Refreshing forgets the results but keeps the texts.
    w->cmdRefresh->click();
    EXPECT_EQ(lines(*w).first(), QStringLiteral("a.vb") + kWaiting);
    EXPECT_EQ(resultButtons(*w), QList<bool>({false, false, false, false, false}));
    EXPECT_EQ(w->txtVBoyHave->toPlainText(), AsShown(texts.haveText()));
}

TEST_F(RomDbWindow, RenamingAndMovingSaysWhereTheFilesWent)
{
    const QByteArray tetris = craftedroms::CatalogueImage(kTetris);
    put("a.vb", tetris);
    put("b.vb", tetris);
    put("c.vb", craftedroms::CatalogueImage(kCroach));
    put("d.vb", craftedroms::UnknownImage(65536));
    put("e.vb", QByteArray(600, '\x01'));
    setOptions({{kOptionKeys[1], "1"}, {kOptionKeys[2], "1"}, {kOptionKeys[3], "1"}, {kOptionKeys[0], "1"}});
    auto w = open();
    identify(*w);

    EXPECT_EQ(testsupport::messageBoxes().calls.first().prompt,
              QStringLiteral("NOTE: Identifying ROMs may take a long while.\nExisting files will be overwritten. "
                             "Please make sure you\nhave any files you do not wish to lose backed up.\n\n"
                             "Do you still wish to continue?"));
    const QString moved = sub(QStringLiteral("VBoyRen"));
    EXPECT_EQ(testsupport::messageBoxes().last().prompt,
              QStringLiteral("ROM identification & rename complete.\n\nFiles moved to:\n") + moved + "/");
    EXPECT_EQ(BoxTitles(), QStringList({"Continue operation?", "Complete"}));
    EXPECT_EQ(w->lblRomDir->text(), moved + QStringLiteral("/*.vb"));
    EXPECT_EQ(lines(*w), QStringList({"3D Tetris (U) [!].vb         - 3D Tetris (U) [!]",
                                      "Copy of 3D Tetris (U) [!].vb - 3D Tetris (U) [!]",
                                      "Croach, The (PD).vb          - Croach, The (PD)"}));
    EXPECT_EQ(drawn.mid(0, 7), QList<int>({0, 0, 5, 10, 15, 20, 25}));
    EXPECT_EQ(drawn.mid(drawn.size() - 3), QList<int>({100, 100, 0}));
    EXPECT_TRUE(std::is_sorted(drawn.begin() + 1, drawn.end() - 1));
    EXPECT_EQ(resultButtons(*w), QList<bool>({true, true, true, true, true}));
    EXPECT_TRUE(w->txtVBoyLog->toPlainText().contains(QStringLiteral("a.vb moved to ")));
    EXPECT_TRUE(w->txtVBoyHave->toPlainText().contains(QStringLiteral("Croach, The (PD).vb")));
}

// A ROM moved onto a file of the very same bytes leaves one file; the change
// log says so on a line of its own, its file in the column of the targets,
// and the summaries count the one file.
TEST_F(RomDbWindow, AMoveOntoTheVerySameBytesIsLoggedAndCountedOnce)
{
    const QByteArray golf = craftedroms::CatalogueImage(QStringLiteral("Golf (U) [!]"));
    put("golf.vb", golf);
    put("VBoyRen/Golf (U) [!].vb", golf);
    setOptions({{kOptionKeys[1], "1"}, {kOptionKeys[2], "1"}, {kOptionKeys[3], "1"}});
    auto w = open();
    identify(*w);

    const QString target = sub(QStringLiteral("VBoyRen/Golf (U) [!].vb"));
    EXPECT_EQ(QDir(sub(QStringLiteral("VBoyRen"))).entryList(QDir::Files), QStringList({"Golf (U) [!].vb"}));
    EXPECT_EQ(testsupport::readFile(target), golf);
    const QStringList log = w->database().lists().changeLog().split(QStringLiteral("\r\n"));
    const QStringList moves = log.filter(QStringLiteral(" moved to ") + target);
    ASSERT_EQ(moves.size(), 1);
    const qsizetype move = log.indexOf(moves.first());
    const qsizetype targetColumn = moves.first().indexOf(QStringLiteral(" moved to ")) + 10;
    EXPECT_EQ(log.at(move - 1),
              QStringLiteral("Replacing").leftJustified(targetColumn) + target + QStringLiteral(" : IDENTICAL FILE OF THAT NAME"));

    const RomListCounters &counters = w->database().lists().counters();
    EXPECT_EQ(HaveSummary(counters), QStringLiteral(" You have 01 out of 38 known Nintendo Virtual Boy ROMs\r\rOut of 01 "
                                                    "files:\r   01 are Good \"[!]\" ROMs\r\rDo you wish to view additional "
                                                    "details?"));
    EXPECT_TRUE(DupesSummary(counters).startsWith(QStringLiteral(" You have 00 duplicate")));
}

// The folders a rename run lists on its own are no listing the user asked for.
TEST_F(RomDbWindow, ARenameRunThatEndsOnAnEmptyFolderShowsNoNoRomsBox)
{
    put("d.vb", craftedroms::UnknownImage(65536));
    setOptions({{kOptionKeys[1], "1"}, {kOptionKeys[2], "1"}});
    auto w = open();
    identify(*w);
    EXPECT_EQ(BoxTitles(), QStringList({"Continue operation?", "Complete"}));
    EXPECT_EQ(w->lstFileIdentify->count(), 0);
    EXPECT_TRUE(QFileInfo::exists(sub(QStringLiteral("d.vb"))));
}

TEST_F(RomDbWindow, AFailedRenameShowsItsFailureAndNoCompletion)
{
    put("a.vb", craftedroms::CatalogueImage(kTetris));
    put("b.vb", craftedroms::CatalogueImage(kCroach));
    testsupport::writeFile(QStringLiteral("roms/VBoyRen"), "a file where the folder should go");
    setOptions({{kOptionKeys[1], "1"}, {kOptionKeys[2], "1"}, {kOptionKeys[3], "1"}});
    auto w = open();
    identify(*w);

    EXPECT_EQ(BoxTitles(), QStringList({"Continue operation?", "Rename failed"}));
    const msgbox::Call failure = testsupport::messageBoxes().last();
    EXPECT_EQ(failure.style, msgbox::vbCritical);
    EXPECT_TRUE(failure.prompt.startsWith(QStringLiteral("Renaming the ROM files failed:\r")));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"a.vb", "b.vb", "VBoyRen"}));
    EXPECT_EQ(lines(*w), QStringList({"a.vb" + kWaiting, "b.vb" + kWaiting}));
    EXPECT_EQ(resultButtons(*w), QList<bool>({false, false, false, true, true}));
    EXPECT_EQ(drawn.mid(drawn.size() - 2), QList<int>({0, 0}));
    EXPECT_TRUE(w->cmdIdentifyRoms->isEnabled());
    EXPECT_TRUE(w->txtVBoyLog->toPlainText().contains(QStringLiteral("is a file, not a directory")));
}

TEST_F(RomDbWindow, AfterAFailedRenameTheLogIsShownAndSavedWhereTheFilesAre)
{
    SKIP_WHERE_NO_ORDINARY_USER_CAN_REACH_THE_TEST();
    put("a.vb", craftedroms::CatalogueImage(kTetris));
    put("b.vb", craftedroms::CatalogueImage(kCroach));
    QDir().mkpath(sub(QStringLiteral("VBoyRen")));
    ::chmod(QFile::encodeName(sub(QStringLiteral("VBoyRen"))).constData(), 0555); // takes no file
    setOptions({{kOptionKeys[1], "1"}, {kOptionKeys[2], "1"}});
    testsupport::OrdinaryUser user;
    auto w = open();
    identify(*w);

    EXPECT_EQ(BoxTitles(), QStringList({"Continue operation?", "Rename failed"}));
    EXPECT_TRUE(testsupport::messageBoxes().last().prompt.endsWith(
        QStringLiteral("No ROM file was lost: the change log shows where each one is.")));
    // Every file went back: the window lists the ROM folder, not the empty "VBoyRen".
    EXPECT_EQ(lines(*w), QStringList({"a.vb" + kWaiting, "b.vb" + kWaiting}));
    EXPECT_EQ(w->lblRomDir->text(), sub(QStringLiteral("*.vb")));
    EXPECT_EQ(resultButtons(*w), QList<bool>({false, false, false, true, true}));

    QStringList shown;
    testsupport::modalWindows().on<frmHelp>([&](frmHelp &help) { shown << help.windowTitle(); });
    w->cmdVBoyLog->click();
    EXPECT_EQ(shown.size(), 1);
    w->cmdSaveVboy->click();
    EXPECT_EQ(testsupport::messageBoxes().last().prompt,
              QStringLiteral("The change log has been saved to:\r") + sub(QStringLiteral("VBoyLog.txt")));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"a.vb", "b.vb", "VBoyLog.txt"}));
    EXPECT_EQ(testsupport::readFile(sub(QStringLiteral("VBoyLog.txt"))), w->database().lists().changeLog().toLocal8Bit());
}

TEST_F(RomDbWindow, ACancelAfterTheLastMoveSaysWhatHappenedAndKeepsTheLog)
{
    put("a.vb", craftedroms::CatalogueImage(kTetris));
    put("b.vb", craftedroms::CatalogueImage(kCroach));
    setOptions({{kOptionKeys[1], "1"}, {kOptionKeys[2], "1"}});
    auto w = open();
    onDrawn = [&](int percent) {
        if (percent == 75 && w->Tag.isEmpty()) {
            testsupport::messageBoxes().answerNext(msgbox::vbYes);
            w->cmdCancelIdentify->click();
        }
    };
    identify(*w);

    EXPECT_EQ(BoxTitles(), QStringList({"Continue operation?", "Cancel operation?", "Cancelled"}));
    EXPECT_EQ(testsupport::messageBoxes().last().prompt,
              QStringLiteral("The ROM files were renamed before the cancel took effect;\nonly identifying them again "
                             "was cancelled.\n\nFiles moved to:\n") +
                  sub(QStringLiteral("VBoyRen/")) + QStringLiteral("\n\nThe change log shows every change."));
    EXPECT_EQ(QDir(sub(QStringLiteral("VBoyRen"))).entryList(QDir::Files),
              QStringList({"3D Tetris (U) [!].vb", "Croach, The (PD).vb"}));
    EXPECT_EQ(resultButtons(*w), QList<bool>({false, false, false, true, true}));
    w->cmdSaveVboy->click();
    EXPECT_EQ(testsupport::readFile(sub(QStringLiteral("VBoyRen/VBoyLog.txt"))),
              w->database().lists().changeLog().toLocal8Bit());
    EXPECT_TRUE(w->Tag.isEmpty());
}

// What an interrupted renaming left comes back before the folder is listed
// and identified: one run renames and moves those files too.
TEST_F(RomDbWindow, ARunBringsBackWhatAnInterruptedRenamingLeftAndFinishesTheJob)
{
    put("a.vb", craftedroms::CatalogueImage(kTetris));
    put("~ROMTMP500/Croach, The (PD).vb", craftedroms::CatalogueImage(kCroach));
    setOptions({{kOptionKeys[1], "1"}, {kOptionKeys[2], "1"}});
    auto w = open();
    ASSERT_EQ(lines(*w), QStringList({"a.vb" + kWaiting}));
    identify(*w);

    EXPECT_EQ(BoxTitles(), QStringList({"Continue operation?", "Interrupted renaming", "Complete"}));
    EXPECT_TRUE(testsupport::messageBoxes().calls.at(1).prompt.contains(
        QStringLiteral("1 of the 1 files in %1 were moved back into %2").arg(sub("~ROMTMP500/"), folder + "/")));
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList({"VBoyRen"}));
    EXPECT_EQ(QDir(sub(QStringLiteral("VBoyRen"))).entryList(QDir::Files),
              QStringList({"3D Tetris (U) [!].vb", "Croach, The (PD).vb"}));
    EXPECT_EQ(lines(*w), QStringList({"3D Tetris (U) [!].vb - 3D Tetris (U) [!]",
                                      "Croach, The (PD).vb  - Croach, The (PD)"}));
    const QString log = w->database().lists().changeLog();
    EXPECT_LT(log.indexOf(QStringLiteral("Found the temporary directory of an interrupted renaming")),
              log.indexOf(QStringLiteral("Creating temporary directory")));
}

TEST_F(RomDbWindow, AStoredMoveWithoutRenameMovesNothingAndSaysNothingWasMoved)
{
    put("a.vb", craftedroms::CatalogueImage(kTetris));
    setOptions({{kOptionKeys[2], "1"}});
    auto w = open();
    ASSERT_TRUE(w->chkMoveRoms->isChecked());
    identify(*w);
    EXPECT_EQ(testsupport::messageBoxes().last().prompt, QStringLiteral("ROM identification complete."));
    EXPECT_FALSE(QFileInfo::exists(sub(QStringLiteral("VBoyRen"))));
    EXPECT_TRUE(QFileInfo::exists(sub(QStringLiteral("a.vb"))));
    EXPECT_FALSE(w->chkMoveRoms->isEnabled());
}

TEST_F(RomDbWindow, ACancelLeavesTheFilesNotReachedWaitingAndNoResults)
{
    const QByteArray tetris = craftedroms::CatalogueImage(kTetris);
    for (const char *name : {"a.vb", "b.vb", "c.vb", "d.vb"})
        put(QString::fromLatin1(name), tetris);
    auto w = open();

    QList<bool> identifyEnabled;
    int boxesWhenCancelled = 0;
    onDrawn = [&](int percent) {
        if (percent == 25 && boxesWhenCancelled == 0) {
            testsupport::messageBoxes().answerNext(msgbox::vbYes);
            w->cmdCancelIdentify->click();
            boxesWhenCancelled = int(testsupport::messageBoxes().calls.size());
            // A click on Identify that reaches the window now starts nothing.
            w->cmdIdentifyRoms_Click();
        }
        identifyEnabled << w->cmdIdentifyRoms->isEnabled();
    };
    identify(*w);

    EXPECT_EQ(testsupport::messageBoxes().calls.at(1).prompt, QStringLiteral("Do you wish to stop analysing ROMs?"));
    EXPECT_EQ(testsupport::messageBoxes().calls.at(1).style, 308);
    EXPECT_EQ(testsupport::messageBoxes().calls.at(1).title, QStringLiteral("Cancel operation?"));
    EXPECT_EQ(boxesWhenCancelled, 2);
    EXPECT_EQ(BoxTitles(), QStringList({"Continue operation?", "Cancel operation?", "Cancelled"}));
    EXPECT_EQ(testsupport::messageBoxes().last().prompt, QStringLiteral("ROM identiification aborted."));
    EXPECT_EQ(testsupport::messageBoxes().last().style, msgbox::vbExclamation);

    EXPECT_EQ(lines(*w), QStringList({"a.vb - 3D Tetris (U) [!]", "b.vb - 3D Tetris (U) [!]", "c.vb" + kWaiting,
                                      "d.vb" + kWaiting}));
    EXPECT_EQ(drawn, QList<int>({0, 0, 25, 50, 75, 0, 0}));
    // Identify came back only once the run had unwound.
    EXPECT_EQ(identifyEnabled.mid(0, identifyEnabled.size() - 2), QList<bool>(5, false));
    EXPECT_TRUE(w->cmdIdentifyRoms->isEnabled());
    EXPECT_EQ(resultButtons(*w), QList<bool>({false, false, false, false, false}));
    RomListTexts initial;
    initial.InitHaveList();
    EXPECT_EQ(w->database().lists().haveText(), initial.haveText());
    EXPECT_EQ(w->txtVBoyHave->toPlainText(), AsShown(initial.haveText()));
    EXPECT_TRUE(w->Tag.isEmpty());

    // Answering No lets a run finish.
    testsupport::messageBoxes().calls.clear();
    onDrawn = [&](int percent) {
        if (percent == 25) {
            testsupport::messageBoxes().answerNext(msgbox::vbNo);
            w->cmdCancelIdentify->click();
        }
    };
    identify(*w);
    EXPECT_EQ(BoxTitles(), QStringList({"Continue operation?", "Cancel operation?", "Complete"}));
    EXPECT_EQ(lines(*w).last(), QStringLiteral("d.vb - 3D Tetris (U) [!]"));
}

TEST_F(RomDbWindow, ACancelWhileRenamingPutsEveryFileBackAndListsIt)
{
    const QByteArray tetris = craftedroms::CatalogueImage(kTetris);
    for (const char *name : {"a.vb", "b.vb", "c.vb"})
        put(QString::fromLatin1(name), tetris);
    setOptions({{kOptionKeys[1], "1"}, {kOptionKeys[2], "1"}});
    auto w = open();
    onDrawn = [&](int percent) {
        if (percent == 33) { // the second file is in the temporary folder
            testsupport::messageBoxes().answerNext(msgbox::vbYes);
            w->cmdCancelIdentify->click();
        }
    };
    identify(*w);

    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Cancelled"));
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({"a.vb", "b.vb", "c.vb"}));
    EXPECT_EQ(lines(*w), QStringList({"a.vb" + kWaiting, "b.vb" + kWaiting, "c.vb" + kWaiting}));
    EXPECT_EQ(w->database().folder(), folder);
    EXPECT_EQ(resultButtons(*w), QList<bool>({false, false, false, false, false}));
}

TEST_F(RomDbWindow, ClosingMidRunCancelsAndClosesOnceTheRunHasUnwound)
{
    const QByteArray tetris = craftedroms::CatalogueImage(kTetris);
    for (const char *name : {"a.vb", "b.vb", "c.vb", "d.vb"})
        put(QString::fromLatin1(name), tetris);

    for (const bool byMenu : {false, true}) {
        SCOPED_TRACE(byMenu ? "Back to main menu" : "close box");
        testsupport::messageBoxes().calls.clear();
        testsupport::modalWindows().clear();
        bool closedMidRun = true;
        QStringList linesAfter;
        testsupport::modalWindows().on<frmVbRomDatabase>([&](frmVbRomDatabase &w) {
            onDrawn = [&](int percent) {
                if (percent != 25 || !w.runInProgress() || !w.Tag.isEmpty())
                    return;
                if (byMenu)
                    w.mnuFileBack->trigger();
                else
                    w.close();
                closedMidRun = w.isUnloaded();
            };
            identify(w);
            linesAfter = lines(w);
            EXPECT_TRUE(w.isUnloaded());
        });
        frmVbRomDatabase w;
        watch(w);
        forms::ShowModal(w);
        onDrawn = nullptr;

        EXPECT_FALSE(closedMidRun);
        EXPECT_EQ(BoxTitles(), QStringList({"Continue operation?"}));
        EXPECT_EQ(linesAfter.mid(2), QStringList({"c.vb" + kWaiting, "d.vb" + kWaiting}));
        EXPECT_TRUE(w.Tag.isEmpty());
    }
}

TEST_F(RomDbWindow, DrawProgressBringsThePercentIntoRangeAndColoursItsLabel)
{
    auto w = open();
    struct ProgressCase {
        int32_t given;
        int32_t shown;
        QPalette::ColorRole text;
    };
    const ProgressCase cases[] = {{37, 37, QPalette::ButtonText}, {50, 50, QPalette::HighlightedText},
                                  {100, 100, QPalette::HighlightedText}, {250, 100, QPalette::HighlightedText},
                                  {0, 0, QPalette::ButtonText}, {-5, 0, QPalette::ButtonText}};
    for (const ProgressCase &c : cases) {
        SCOPED_TRACE(c.given);
        int32_t percent = c.given;
        w->DrawProgress(percent);
        EXPECT_EQ(percent, c.shown);
        EXPECT_EQ(w->picPercent->percent(), c.shown);
        EXPECT_EQ(w->lblPercent->text(), QString::number(c.shown) + QLatin1Char('%'));
        EXPECT_EQ(w->lblPercent->palette().color(QPalette::Active, QPalette::WindowText),
                  w->picPercent->palette().color(c.text));
        const QRect label = w->lblPercent->geometry();
        EXPECT_LE(std::abs(label.center().x() - w->picPercent->width() / 2), 1);
    }
}

TEST_F(RomDbWindow, SaveWritesTheListFilesWholeIntoTheListedFolder)
{
    put("a.vb", craftedroms::CatalogueImage(kTetris));
    setOptions({{kOptionKeys[3], "1"}});
    auto w = open();
    identify(*w);
    w->cmdSaveVboy->click();

    const RomListTexts &texts = w->database().lists();
    const QStringList names = {"VBoyHave.txt", "VBoyMiss.txt", "VBoyDupes.txt", "VBoyLog.txt"};
    const QStringList expected = {texts.haveText(), texts.missText(), texts.dupesText(), texts.changeLog()};
    for (int i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i].toStdString());
        const QByteArray bytes = testsupport::readFile(sub(names[i]));
        EXPECT_EQ(bytes, expected[i].toLocal8Bit());
        EXPECT_TRUE(bytes.endsWith("\r\n") && !bytes.endsWith("\r\n\r\n"));
    }
    EXPECT_EQ(testsupport::messageBoxes().last().prompt,
              QStringLiteral("List files have been saved to:\rVBoyHave.txt, VBoyMiss.txt\rVBoyDupes.txt, VBoyLog.txt"));
    EXPECT_EQ(testsupport::messageBoxes().last().style, msgbox::vbInformation);
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Files saved"));

    // Without the change log three files are replaced and an old log stays.
    testsupport::writeFile(QStringLiteral("roms/VBoyLog.txt"), "old log");
    testsupport::writeFile(QStringLiteral("roms/VBoyHave.txt"), "old list, longer than the new one .............");
    w->chkChangeLog->click();
    w->cmdSaveVboy->click();
    EXPECT_EQ(testsupport::readFile(sub(QStringLiteral("VBoyLog.txt"))), QByteArray("old log"));
    EXPECT_EQ(testsupport::readFile(sub(QStringLiteral("VBoyHave.txt"))), texts.haveText().toLocal8Bit());
    EXPECT_EQ(testsupport::messageBoxes().last().prompt,
              QStringLiteral("List files have been saved to:\rVBoyHave.txt, VBoyMiss.txt, VBoyDupes.txt"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              QStringList({"a.vb", "VBoyDupes.txt", "VBoyHave.txt", "VBoyLog.txt", "VBoyMiss.txt"}));
}

TEST_F(RomDbWindow, ASaveThatFailsNamesTheFileAndConfirmsNothing)
{
    put("a.vb", craftedroms::CatalogueImage(kTetris));
    QDir(folder).mkdir(QStringLiteral("VBoyMiss.txt")); // no file can take its place
    auto w = open();
    identify(*w);
    w->cmdSaveVboy->click();

    const msgbox::Call failure = testsupport::messageBoxes().last();
    EXPECT_EQ(failure.title, QStringLiteral("File error"));
    EXPECT_TRUE(failure.prompt.startsWith(QStringLiteral("Unable to save the list file:\r") + sub("VBoyMiss.txt") + "\r"));
    EXPECT_FALSE(BoxTitles().contains(QStringLiteral("Files saved")));
    EXPECT_EQ(testsupport::readFile(sub(QStringLiteral("VBoyHave.txt"))), w->database().lists().haveText().toLocal8Bit());
    EXPECT_FALSE(QFileInfo::exists(sub(QStringLiteral("VBoyDupes.txt"))));
}

TEST_F(RomDbWindow, SummariesShowTheLastRunsCountsAndOfferTheirLists)
{
    const QByteArray tetris = craftedroms::CatalogueImage(kTetris);
    put("a.vb", tetris);
    put("b.vb", tetris);
    setOptions({{kOptionKeys[3], "1"}});
    auto w = open();
    identify(*w);
    QStringList shown;
    testsupport::modalWindows().on<frmHelp>(
        [&](frmHelp &viewer) { shown << viewer.windowTitle() + ": " + viewer.txtRomDb->toPlainText(); });
    const QString question = QStringLiteral("\r\rDo you wish to view additional details?");

    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    w->cmdVboyHave->click();
    EXPECT_EQ(testsupport::messageBoxes().last().prompt,
              QStringLiteral(" You have 01 out of 38 known Nintendo Virtual Boy ROMs\r\rOut of 02 files:\r   01 are "
                             "Good \"[!]\" ROMs\r   01 are duplicate (more than one copy of) ROMs") + question);
    EXPECT_EQ(testsupport::messageBoxes().last().style, 324);
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Collected VB ROM details"));
    EXPECT_EQ(shown, QStringList({"Collected Virtual Boy ROMs: " + AsShown(w->database().lists().haveText())}));

    w->cmdVboyMiss->click(); // answered No
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Missing VB ROM details"));
    EXPECT_TRUE(testsupport::messageBoxes().last().prompt.startsWith(
        QStringLiteral(" You are missing 37 out of 38 known Nintendo Virtual Boy ROMs\r\rOut of these files:\r")));
    EXPECT_EQ(shown.size(), 1);
    EXPECT_TRUE(mainwindow::Tag().isEmpty());

    w->cmdVBoyDupes->click();
    EXPECT_EQ(testsupport::messageBoxes().last().prompt,
              QStringLiteral(" You have 01 duplicate Nintendo Virtual Boy ROMs\r\rOut of these files:\r   01 are Good "
                             "\"[!]\" ROMs") + question);
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Duplicate VB ROM details"));

    const qsizetype boxes = testsupport::messageBoxes().calls.size();
    w->cmdVBoyLog->click();
    EXPECT_EQ(testsupport::messageBoxes().calls.size(), boxes);
    EXPECT_EQ(shown.last(), "Virtual Boy ROMs Change Log: " + AsShown(w->database().lists().changeLog()));
}

TEST_F(RomDbWindow, DoubleClickReportsTheFilesOwnChecksumAndHeader)
{
    put("a.vb", craftedroms::CatalogueImage(kTetris));
    put("b.vb", craftedroms::CatalogueImage(kTetris, "MY TETRIS"));
    auto w = open();

    // Nothing selected: nothing to report.
    w->lstFileIdentify_DblClick();
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());

    w->lstFileIdentify->setCurrentRow(1);
    w->lstFileIdentify_DblClick();
    EXPECT_EQ(testsupport::messageBoxes().last().prompt.split('\r').at(3),
              QStringLiteral("Identified as: [YET TO BE ANALYSED]"));

    identify(*w);
    w->lstFileIdentify->setCurrentRow(1);
    w->lstFileIdentify_DblClick();
    const msgbox::Call report = testsupport::messageBoxes().last();
    EXPECT_EQ(report.title, QStringLiteral("ROM Identification:"));
    EXPECT_EQ(report.style, msgbox::vbInformation);
    const RomFileRecord &hacked = w->database().files().at(1);
    const KnownRom &row = *FindKnownRom(kTetris);
    ASSERT_NE(hacked.wholeImageChecksum, row.wholeImageChecksum);
    const QStringList lines = report.prompt.split(QLatin1Char('\r'));
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines.at(1), QStringLiteral("b.vb:"));
    EXPECT_EQ(lines.mid(3, 2), QStringList({"Identified as: 3D Tetris (U) [h]", "Checksum: " + hacked.wholeImageChecksum}));
    EXPECT_EQ(lines.at(9), QStringLiteral("ROM title: MY TETRIS"));
    EXPECT_EQ(lines.at(10), QStringLiteral("Manufacturer ID: 01 (Nintendo)"));
    EXPECT_TRUE(w->lstFileIdentify->selectedItems().isEmpty());
    EXPECT_EQ(w->lstFileIdentify->currentRow(), -1);
}
