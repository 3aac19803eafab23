#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "MainWindowState.h"
#include "Registry.h"
#include "SaveFile.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmOptions.h"
#include "FolderLists.h"
#include "frmSelectDir.h"
#include "MsgBox.h"

namespace {

const QString kSection = QStringLiteral("Software\\VB and VBA Program Settings\\Zandrel Utils\\Settings");
using msgbox::CR;

QStringList storedNames()
{
    return registry::ValueNames(registry::Hive::CurrentUser, kSection);
}

// A folder of the test holding the given (empty) files; the current folder,
// which the picker changes, is put back afterwards.
class OptionsDialog : public ::testing::Test {
protected:
    QString savedCurrent;
    QString romFolder, emptyFolder;

    void SetUp() override
    {
        savedCurrent = QDir::currentPath();
        mainwindow::Tag().clear();
        romFolder = folderWith(QStringLiteral("roms"), {QStringLiteral("Game.VB")});
        emptyFolder = folderWith(QStringLiteral("empty"), {});
    }
    void TearDown() override
    {
        QDir::setCurrent(savedCurrent);
        mainwindow::Tag().clear();
    }

    static QString folderWith(const QString &name, const QStringList &files)
    {
        const QString dir = QDir(testsupport::tempDir()).filePath(name);
        QDir().mkpath(dir);
        for (const QString &file : files)
            testsupport::writeFile(name + QLatin1Char('/') + file, QByteArray());
        return dir;
    }
    // The store after the program's first start, with a base folder of ROMs.
    void storeDefaults()
    {
        SettingsRecord record = SettingsRecord::Defaults();
        record.BaseDirectory = romFolder;
        record.write();
    }
    static int boxCount() { return int(testsupport::messageBoxes().calls.size()); }
};

} // namespace

TEST_F(OptionsDialog, ApplyWritesTheFortyFiveKeysInOrderAndNeverTheVersion)
{
    // An empty store: the names come out in the order they were written.
    frmOptions dialog;
    dialog.load();
    testsupport::messageBoxes().answerNext(msgbox::vbYes); // the home folder holds no ROMs
    dialog.cmdApply->click();
    EXPECT_TRUE(dialog.isUnloaded());

    const auto &keys = SettingsKeyNames();
    const QStringList expectedNames(keys.begin() + 1, keys.end());
    EXPECT_EQ(storedNames(), expectedNames);
    const QString home = QDir::homePath();
    const QStringList expectedValues = {
        "False", "False", home, "False", "4", "", "", "", "", "", "", "", "", "", "",
        "0", "False", "255", "0", "0", "192", "0", "0", "128", "0", "0", "64", "0", "0",
        "False", home, "False", home, "False", home, "False", home, "False", home, "False", home,
        "0", "0", "0", "0"};
    for (int i = 0; i < expectedNames.size(); ++i)
        EXPECT_EQ(settings::Get(expectedNames[i], QStringLiteral("<missing>")), expectedValues[i])
            << expectedNames[i].toStdString();
}

TEST_F(OptionsDialog, ApplyTakesEveryControlAndCarriesTheRest)
{
    storeDefaults();
    settings::Save(QStringLiteral("Version Number"), QStringLiteral("my build"));
    settings::Save(QStringLiteral("Recent ROM #3"), QStringLiteral("/roms/wario.vb"));
    settings::Save(QStringLiteral("White Tile Green"), QStringLiteral("17"));
    const QString rboy = folderWith(QStringLiteral("rboy"), {QStringLiteral("VB_98.EXE")});
    settings::Save(QStringLiteral("Reality Boy Directory"), rboy);

    frmOptions dialog;
    dialog.load();
    dialog.chkIntro->setChecked(true);
    dialog.optThemeCol[1]->setChecked(true);
    dialog.chkDetectRom->setChecked(true);
    dialog.vscMruItems->setValue(9);
    dialog.chkAutoUpdate->setChecked(true);
    dialog.chkRboyEnabled->setChecked(true);
    dialog.chkRenameRoms->setChecked(true);
    dialog.chkMoveRoms->setChecked(true);
    dialog.chkChangeLog->setChecked(true);
    dialog.cmdApply->click();

    ASSERT_TRUE(dialog.isUnloaded());
    EXPECT_EQ(boxCount(), 0);
    const auto stored = [](const char *key) { return settings::Get(QString::fromLatin1(key)); };
    EXPECT_EQ(stored("VB Main Menu Theme"), "True");
    EXPECT_EQ(stored("VB Theme Colours"), "True");
    EXPECT_EQ(stored("Base Directory"), romFolder);
    EXPECT_EQ(stored("Auto Detect ROM"), "True");
    EXPECT_EQ(stored("Recent ROMs number"), "9");
    EXPECT_EQ(stored("AutoUpdate Viewer"), "True");
    EXPECT_EQ(stored("Reality Boy Enabled"), "True");
    EXPECT_EQ(stored("Reality Boy Directory"), rboy);
    EXPECT_EQ(stored("Rename ROMs"), "1");
    EXPECT_EQ(stored("Move ROMs"), "1");
    EXPECT_EQ(stored("Create Change Log"), "1");
    EXPECT_EQ(stored("Detailed ROM Lists"), "0");
    EXPECT_EQ(stored("Recent ROM #3"), "/roms/wario.vb");
    EXPECT_EQ(stored("White Tile Green"), "17");
    EXPECT_EQ(stored("Version Number"), "my build");
}

TEST_F(OptionsDialog, LoadingShowsTheStoreAndBringsTheDependentControlsIntoLine)
{
    storeDefaults();
    settings::Save(QStringLiteral("VB Main Menu Theme"), QStringLiteral("True"));
    settings::Save(QStringLiteral("VB Theme Colours"), QStringLiteral("True"));
    settings::Save(QStringLiteral("Recent ROMs number"), QStringLiteral("7"));
    settings::Save(QStringLiteral("Virtual-E Enabled"), QStringLiteral("True"));
    settings::Save(QStringLiteral("Move ROMs"), QStringLiteral("1")); // with "Rename ROMs" 0

    frmOptions dialog;
    dialog.load();
    EXPECT_TRUE(dialog.chkIntro->isChecked());
    EXPECT_TRUE(dialog.optThemeCol[0]->isEnabled() && dialog.optThemeCol[1]->isEnabled());
    EXPECT_TRUE(dialog.optThemeCol[1]->isChecked());
    EXPECT_TRUE(dialog.chkMruItems->isChecked());
    EXPECT_EQ(dialog.vscMruItems->value(), 7);
    EXPECT_EQ(dialog.lblMruItems->text(), QStringLiteral("7"));
    EXPECT_TRUE(dialog.cmdMruItems->isEnabled());
    EXPECT_TRUE(dialog.lblVirteDir->isEnabled() && dialog.cmdVirteDir->isEnabled());
    EXPECT_FALSE(dialog.lblRboyDir->isEnabled() || dialog.cmdRboyDir->isEnabled());
    EXPECT_EQ(dialog.lblBaseDir->path(), romFolder);
    // A stored move without rename shows checked but disabled, and is written back as it was.
    EXPECT_TRUE(dialog.chkMoveRoms->isChecked());
    EXPECT_FALSE(dialog.chkMoveRoms->isEnabled());
    dialog.cmdApply->click();
    EXPECT_EQ(settings::Get(QStringLiteral("Move ROMs")), QStringLiteral("1"));
}

TEST_F(OptionsDialog, TheRenameAndThemeBoxesGovernTheirDependants)
{
    storeDefaults();
    frmOptions dialog;
    dialog.load();
    EXPECT_FALSE(dialog.optThemeCol[0]->isEnabled());
    EXPECT_TRUE(dialog.optThemeCol[0]->isChecked());
    dialog.chkIntro->setChecked(true);
    EXPECT_TRUE(dialog.optThemeCol[1]->isEnabled());
    EXPECT_TRUE(dialog.optThemeCol[0]->isChecked()); // enabling changes no choice

    dialog.chkRenameRoms->setChecked(true);
    EXPECT_TRUE(dialog.chkMoveRoms->isEnabled());
    EXPECT_FALSE(dialog.chkMoveRoms->isChecked());
    dialog.chkMoveRoms->setChecked(true);
    dialog.chkRenameRoms->setChecked(false);
    EXPECT_FALSE(dialog.chkMoveRoms->isEnabled());
    EXPECT_FALSE(dialog.chkMoveRoms->isChecked());
}

TEST_F(OptionsDialog, TheRecentListCountFollowsItsBoxAndAnUntickedBoxStoresNone)
{
    storeDefaults();
    settings::Save(QStringLiteral("Recent ROMs number"), QStringLiteral("0"));
    frmOptions dialog;
    dialog.load();
    EXPECT_FALSE(dialog.chkMruItems->isChecked());
    EXPECT_EQ(dialog.lblMruItems->text(), QStringLiteral("0"));
    EXPECT_FALSE(dialog.cmdMruItems->isEnabled() || dialog.lblMruItems1->isEnabled() || dialog.vscMruItems->isEnabled());

    // A stored count below 1 gives the default when the list is switched on.
    dialog.chkMruItems->setChecked(true);
    EXPECT_EQ(dialog.vscMruItems->value(), 4);
    EXPECT_EQ(dialog.lblMruItems->text(), QStringLiteral("4"));
    EXPECT_TRUE(dialog.cmdMruItems->isEnabled() && dialog.vscMruItems->isEnabled());

    // The up arrow raises the count.
    dialog.vscMruItems->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(dialog.vscMruItems->value(), 5);
    EXPECT_EQ(dialog.lblMruItems->text(), QStringLiteral("5"));

    dialog.chkMruItems->setChecked(false);
    EXPECT_EQ(dialog.lblMruItems->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.vscMruItems->value(), 5);
    dialog.cmdApply->click();
    EXPECT_EQ(settings::Get(QStringLiteral("Recent ROMs number")), QStringLiteral("0"));
}

TEST_F(OptionsDialog, ClearEmptiesTheRecentListOnlyWhenConfirmed)
{
    storeDefaults();
    settings::Save(QStringLiteral("Recent ROM #1"), QStringLiteral("/roms/a.vb"));
    settings::Save(QStringLiteral("Recent ROM #10"), QStringLiteral("/roms/b.vb"));
    frmOptions dialog;
    dialog.load();

    testsupport::messageBoxes().answerNext(msgbox::vbNo);
    dialog.cmdMruItems_Click();
    const msgbox::Call box = testsupport::messageBoxes().last();
    EXPECT_EQ(box.style, 308);
    EXPECT_EQ(box.title, QStringLiteral("Clear recent files?"));
    EXPECT_EQ(box.prompt, QStringLiteral("Are you sure you want to clear all\nexisting recent ROM entries?"));
    EXPECT_EQ(dialog.settingsCopy().RecentRoms[0], QStringLiteral("/roms/a.vb"));

    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    dialog.cmdMruItems_Click();
    EXPECT_EQ(settings::Get(QStringLiteral("Recent ROM #1")), QStringLiteral("/roms/a.vb")); // nothing until Apply
    dialog.cmdApply->click();
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(settings::Get(QStringLiteral("Recent ROM #%1").arg(i), QStringLiteral("<missing>")), QString());
}

TEST_F(OptionsDialog, RevertToDefaultAsksTwiceThenResetsControlsAndTheCopy)
{
    storeDefaults();
    const QString vide = folderWith(QStringLiteral("vide"), {QStringLiteral("VIDE.EXE")});
    for (const auto &[key, value] : std::initializer_list<std::pair<QString, QString>>{
             {"VB Main Menu Theme", "True"},       {"VB Theme Colours", "True"},
             {"Recent ROMs number", "7"},          {"Recent ROM #2", "/roms/x.vb"},
             {"Tile Display Mode", "1"},           {"Black Tile Blue", "99"},
             {"V-Environment Enabled", "True"},    {"V-Environment Directory", vide},
             {"Rename ROMs", "1"},                 {"Move ROMs", "1"},
             {"Auto Detect ROM", "True"},          {"AutoUpdate Viewer", "True"}})
        settings::Save(key, value);

    frmOptions dialog;
    dialog.load();
    // No to either question changes nothing.
    for (int yesAnswers = 0; yesAnswers < 2; ++yesAnswers) {
        for (int i = 0; i < yesAnswers; ++i)
            testsupport::messageBoxes().answerNext(msgbox::vbYes);
        testsupport::messageBoxes().answerNext(msgbox::vbNo);
        dialog.cmdDefault_Click();
        EXPECT_TRUE(dialog.chkIntro->isChecked());
        EXPECT_TRUE(dialog.chkEnvironmentEnabled->isChecked());
    }
    ASSERT_EQ(boxCount(), 3);
    EXPECT_EQ(testsupport::messageBoxes().calls[1].style, 292);
    EXPECT_EQ(testsupport::messageBoxes().calls[1].title, QStringLiteral("Revert to default"));
    EXPECT_EQ(testsupport::messageBoxes().calls[1].prompt,
              QStringLiteral("Do you wish to revert to default settings?\rNOTE: This will reset ALL settings.\r\r"
                             "Do you wish to continue?"));
    EXPECT_EQ(testsupport::messageBoxes().calls[2].style, 308);
    EXPECT_EQ(testsupport::messageBoxes().calls[2].title, QStringLiteral("Confirm revert to default"));
    EXPECT_EQ(testsupport::messageBoxes().calls[2].prompt,
              QStringLiteral("Are you SURE to wish to revert to default settings???"));

    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    dialog.cmdDefault_Click();

    // The handlers brought the dependants into line.
    EXPECT_FALSE(dialog.optThemeCol[1]->isEnabled());
    EXPECT_TRUE(dialog.optThemeCol[0]->isChecked());
    EXPECT_FALSE(dialog.lblEnvironmentDir->isEnabled() || dialog.cmdEnvironmentDir->isEnabled());
    EXPECT_EQ(dialog.lblEnvironmentDir->path(), QDir::homePath());
    EXPECT_FALSE(dialog.chkMoveRoms->isEnabled());
    EXPECT_FALSE(dialog.cmdMruItems->isEnabled());
    EXPECT_EQ(dialog.lblMruItems->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.vscMruItems->value(), 4);
    EXPECT_EQ(dialog.lblBaseDir->path(), QDir::homePath());
    // The copy keeps the folders it loaded, for a cancelled picker.
    EXPECT_EQ(dialog.settingsCopy().VEnvironmentDirectory, vide);
    EXPECT_EQ(settings::Get(QStringLiteral("VB Main Menu Theme")), QStringLiteral("True")); // nothing written yet

    testsupport::messageBoxes().answerNext(msgbox::vbYes); // the home folder holds no ROMs: go on
    dialog.cmdApply->click();
    ASSERT_TRUE(dialog.isUnloaded());
    SettingsRecord expected = SettingsRecord::Defaults();
    expected.RecentRomsNumber = 0; // the list box is unticked
    SettingsRecord stored;
    stored.read();
    EXPECT_EQ(stored, expected);
}

TEST_F(OptionsDialog, CancelAfterRevertWritesNothing)
{
    storeDefaults();
    settings::Save(QStringLiteral("VB Main Menu Theme"), QStringLiteral("True"));
    const QByteArray before = testsupport::readFile(registry::StoreFilePath());
    frmOptions dialog;
    dialog.load();
    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    testsupport::messageBoxes().answerNext(msgbox::vbYes);
    dialog.cmdDefault_Click();
    dialog.cmdCancel->click();
    EXPECT_TRUE(dialog.isUnloaded());
    EXPECT_EQ(testsupport::readFile(registry::StoreFilePath()), before);
}

TEST_F(OptionsDialog, ApplyStopsOnEveryEnabledToolWhoseFolderLacksItsProgram)
{
    storeDefaults();
    const QString rdrag = folderWith(QStringLiteral("rdrag"), {QStringLiteral("readme.txt")});
    const QString vbdk = folderWith(QStringLiteral("vbdk"), {QStringLiteral("VBDK05.EXE")});
    settings::Save(QStringLiteral("Red Dragon Directory"), rdrag);
    settings::Save(QStringLiteral("VB Dev Kit Directory"), vbdk);
    const QByteArray before = testsupport::readFile(registry::StoreFilePath());

    frmOptions dialog;
    dialog.load();
    dialog.chkVirteEnabled->setChecked(true); // its folder is the home folder: no VirtualE.exe
    dialog.chkRdragEnabled->setChecked(true);
    dialog.chkVBDKEnabled->setChecked(true);  // passes
    dialog.cmdApply->click();

    EXPECT_FALSE(dialog.isUnloaded());
    EXPECT_EQ(testsupport::readFile(registry::StoreFilePath()), before);
    ASSERT_EQ(boxCount(), 2);
    const auto &boxes = testsupport::messageBoxes().calls;
    EXPECT_EQ(boxes[0].style, 48);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Emulator not found"));
    EXPECT_EQ(boxes[0].prompt, QStringLiteral("Can't find VirtualE.exe in directory:") + CR + QDir::homePath() + CR
                                   + QStringLiteral("Please choose another directory or disable this option."));
    EXPECT_EQ(boxes[1].prompt, QStringLiteral("Can't find RDRAGON.EXE in directory:") + CR + rdrag + CR
                                   + QStringLiteral("Please choose another directory or disable this option."));
    // The controls keep what the user set.
    EXPECT_TRUE(dialog.chkRdragEnabled->isChecked());

    // A disabled tool is not checked, whatever its folder holds.
    dialog.chkVirteEnabled->setChecked(false);
    dialog.chkRdragEnabled->setChecked(false);
    dialog.cmdApply->click();
    EXPECT_TRUE(dialog.isUnloaded());
    EXPECT_EQ(boxCount(), 2);
    EXPECT_EQ(settings::Get(QStringLiteral("VB Dev Kit Enabled")), QStringLiteral("True"));
    EXPECT_EQ(settings::Get(QStringLiteral("Red Dragon Enabled")), QStringLiteral("False"));
}

TEST_F(OptionsDialog, ABaseFolderWithoutRomsAsksAndNoStopsBeforeTheTools)
{
    storeDefaults();
    settings::Save(QStringLiteral("Base Directory"), emptyFolder);
    frmOptions dialog;
    dialog.load();
    dialog.chkRboyEnabled->setChecked(true); // would warn
    testsupport::messageBoxes().answerNext(msgbox::vbNo);
    dialog.cmdApply->click();
    EXPECT_FALSE(dialog.isUnloaded());
    ASSERT_EQ(boxCount(), 1);
    const msgbox::Call box = testsupport::messageBoxes().last();
    EXPECT_EQ(box.style, 308);
    EXPECT_EQ(box.title, QStringLiteral("No ROMs found"));
    EXPECT_EQ(box.prompt, QStringLiteral("NOTE: No ROMs found in directory:") + CR + dialog.lblBaseDir->text() + CR
                              + QStringLiteral("Do you wish to continue?"));
    EXPECT_EQ(settings::Get(QStringLiteral("Reality Boy Enabled")), QStringLiteral("False"));
}

TEST_F(OptionsDialog, AToolChangeStartsThePickerInTheToolFolderAndWarnsWithoutClosing)
{
    storeDefaults();
    const QString vecc = folderWith(QStringLiteral("vecc"), {QStringLiteral("vecc.exe")});
    const QString other = folderWith(QStringLiteral("other"), {});
    settings::Save(QStringLiteral("V-E C Compiler Directory"), vecc);
    frmOptions dialog;
    dialog.load();
    dialog.chkVECCEnabled->setChecked(true);

    QString pickerStart;
    testsupport::modalWindows().on<frmSelectDir>([&](frmSelectDir &picker) {
        pickerStart = picker.lblFilename->text();
        picker.dirDirectory_Change(); // nothing moved: still the start
        picker.Tag = other;           // as Select leaves it
        picker.hide();
    });
    dialog.cmdVECCDir->click();
    EXPECT_EQ(pickerStart, vecc);
    EXPECT_EQ(dialog.lblVECCDir->path(), other);
    ASSERT_EQ(boxCount(), 1);
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Utility not found"));
    EXPECT_EQ(testsupport::messageBoxes().last().prompt, QStringLiteral("Can't find Vecc.exe in directory:") + CR
                                                             + other + CR
                                                             + QStringLiteral("Please choose another directory."));
    EXPECT_TRUE(mainwindow::Tag().isEmpty());

    // Cancel puts back the folder loaded with the dialog, not the one chosen before.
    testsupport::modalWindows().clear();
    dialog.cmdVECCDir->click();
    EXPECT_EQ(dialog.lblVECCDir->path(), vecc);
    EXPECT_EQ(boxCount(), 1);
}

TEST_F(OptionsDialog, TheBaseChangeStartsAtTheStoredBaseAndWarnsOfAFolderWithoutRoms)
{
    storeDefaults();
    frmOptions dialog;
    dialog.load();
    testsupport::modalWindows().on<frmSelectDir>([&](frmSelectDir &picker) {
        EXPECT_EQ(picker.lblFilename->text(), romFolder);
        picker.dirDirectory->setPath(emptyFolder);
        picker.cmdSelect_Click();
    });
    dialog.cmdBaseDir->click();
    EXPECT_EQ(dialog.lblBaseDir->path(), emptyFolder);
    ASSERT_EQ(boxCount(), 1);
    const msgbox::Call box = testsupport::messageBoxes().last();
    EXPECT_EQ(box.style, 48);
    EXPECT_EQ(box.title, QStringLiteral("No ROMs found"));
    // The message names the folder as its label shows it.
    EXPECT_EQ(box.prompt, QStringLiteral("No ROMs found in directory:") + CR + dialog.lblBaseDir->text() + CR
                              + QStringLiteral("Please choose another directory."));
}

TEST_F(OptionsDialog, ALongPathIsShortenedOnItsLabelButUsedWhole)
{
    const QString deep = folderWith(QStringLiteral("a-rather-long-folder-name/that-goes-on-and-on/and-on-again/"
                                                   "until-it-no-longer-fits/roms"),
                                    {QStringLiteral("wario.vb")});
    storeDefaults();
    settings::Save(QStringLiteral("Base Directory"), deep);
    settings::Save(QStringLiteral("Red Dragon Directory"), QStringLiteral("/"));
    frmOptions dialog;
    dialog.load();

    const QFontMetrics metrics(dialog.lblBaseDir->font());
    const QString caption = dialog.lblBaseDir->text();
    EXPECT_TRUE(caption.endsWith(QStringLiteral("...")));
    EXPECT_TRUE(deep.startsWith(caption.chopped(3)));
    EXPECT_LE(metrics.horizontalAdvance(caption), dialog.lblBaseDir->contentsRect().width());
    // One more character of the path would not fit.
    const QString longer = deep.left(caption.size() - 2) + QStringLiteral("...");
    EXPECT_GT(metrics.horizontalAdvance(longer) + 2 * (dialog.lblBaseDir->frameWidth() + dialog.lblBaseDir->indent()),
              forms::Px(frmOptions::kBaseLabelWidth));
    EXPECT_EQ(dialog.lblBaseDir->toolTip(), deep);
    EXPECT_EQ(dialog.lblBaseDir->width(), forms::Px(frmOptions::kBaseLabelWidth));

    // A short path shows whole on a label that keeps its design width.
    EXPECT_EQ(dialog.lblRdragDir->text(), QStringLiteral("/"));
    EXPECT_EQ(dialog.lblRdragDir->toolTip(), QStringLiteral("/"));
    EXPECT_EQ(dialog.lblRdragDir->width(), forms::Px(frmOptions::kToolLabelWidth));

    // Not even "..." fits a tiny limit: that is where shortening stops.
    dialog.FitPathLabel(dialog.lblBaseDir, 15);
    EXPECT_EQ(dialog.lblBaseDir->text(), QStringLiteral("..."));

    dialog.lblBaseDir->setCaption(deep);
    dialog.cmdApply->click();
    EXPECT_TRUE(dialog.isUnloaded());
    EXPECT_EQ(settings::Get(QStringLiteral("Base Directory")), deep);
    EXPECT_EQ(boxCount(), 0);
}

TEST_F(OptionsDialog, AStoreThatCannotBeWrittenKeepsTheDialogOpen)
{
    storeDefaults();
    frmOptions dialog;
    dialog.load();
    dialog.chkIntro->setChecked(true);
    // The settings folder becomes a file: nothing can be written there.
    const QString folder = QFileInfo(registry::StoreFilePath()).absolutePath();
    QDir(folder).removeRecursively();
    testsupport::writeFile(QStringLiteral("config/zandrel"), "not a folder");

    dialog.cmdApply->click();
    EXPECT_FALSE(dialog.isUnloaded());
    ASSERT_EQ(boxCount(), 1);
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Options not saved"));
    EXPECT_TRUE(dialog.chkIntro->isChecked());
}

TEST_F(OptionsDialog, ApplyOnAFullDiskKeepsTheStoreAndTheDialogAndSaysWhy)
{
    storeDefaults();
    const QByteArray before = testsupport::readFile(registry::StoreFilePath());
    frmOptions dialog;
    dialog.load();
    dialog.chkIntro->setChecked(!dialog.chkIntro->isChecked());
    savefile::SetFaultHook([](savefile::Step step) { return step == savefile::Step::Write ? ENOSPC : 0; });

    dialog.cmdApply->click();
    EXPECT_FALSE(dialog.isUnloaded());
    ASSERT_EQ(boxCount(), 1);
    EXPECT_EQ(testsupport::messageBoxes().last().title, QStringLiteral("Options not saved"));
    EXPECT_TRUE(testsupport::messageBoxes().last().prompt.contains(savefile::ErrorText(ENOSPC)));
    EXPECT_EQ(testsupport::readFile(registry::StoreFilePath()), before);
}

// A folder may be named like markup; the dialog and the picker show the
// name as it is written, on every label.
TEST_F(OptionsDialog, FolderNamesShowAsWrittenInTheDialogAndThePicker)
{
    const QString tagged = folderWith(QStringLiteral("a<i>tal</i>x"), {QStringLiteral("Game.VB")});
    storeDefaults();
    settings::Save(QStringLiteral("Base Directory"), tagged);
    const auto everyLabelIsPlain = [](const QWidget &window) {
        for (const QLabel *label : window.findChildren<QLabel *>())
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
    };

    testsupport::modalWindows().on<frmSelectDir>([&](frmSelectDir &picker) {
        EXPECT_EQ(picker.lblFilename->text(), tagged);
        everyLabelIsPlain(picker);
    });
    frmOptions dialog;
    dialog.load();
    // The label stands for the whole path and shows it, or as much of its
    // beginning as fits (never less): a long temporary folder leaves the name out.
    const auto expectShownAsFits = [&](const QString &path) {
        EXPECT_EQ(dialog.lblBaseDir->path(), path);
        const QString shown = dialog.lblBaseDir->text();
        if (shown == path)
            return;
        ASSERT_TRUE(shown.endsWith(QLatin1String("..."))) << shown.toStdString();
        const QString beginning = shown.chopped(3);
        EXPECT_FALSE(beginning.isEmpty());
        EXPECT_TRUE(path.startsWith(beginning)) << shown.toStdString();
        const QFontMetrics metrics(dialog.lblBaseDir->font());
        // Inside its frame, less its indent on either side.
        const int room = dialog.lblBaseDir->contentsRect().width() - 2 * dialog.lblBaseDir->indent();
        EXPECT_LE(metrics.horizontalAdvance(shown), room) << shown.toStdString();
        EXPECT_GT(metrics.horizontalAdvance(path.left(beginning.size() + 1) + QLatin1String("...")), room)
            << "one more character would have fitted: " << shown.toStdString();
    };
    expectShownAsFits(tagged);
    const QString deep = tagged + QStringLiteral("/a folder whose name is far too long to show whole");
    dialog.lblBaseDir->setCaption(deep);
    EXPECT_NE(dialog.lblBaseDir->text(), deep);
    expectShownAsFits(deep);
    dialog.lblBaseDir->setCaption(tagged);
    everyLabelIsPlain(dialog);
    dialog.cmdBaseDir_Click();
    EXPECT_EQ(testsupport::modalWindows().shown, QStringList{QStringLiteral("frmSelectDir")});
}

// Enter on a check box is not a click on "Change...": the dialog has no
// default button. Escape cancels it, as Cancel does.
TEST_F(OptionsDialog, EnterPressesNoButtonAndEscapeCancels)
{
    storeDefaults();
    frmOptions dialog;
    dialog.load();
    dialog.show();
    for (QCheckBox *box : {dialog.chkDetectRom, dialog.chkIntro, dialog.chkRboyEnabled})
        testsupport::pressKey(box, Qt::Key_Return);
    EXPECT_TRUE(testsupport::modalWindows().shown.isEmpty());
    for (const QPushButton *button : dialog.findChildren<QPushButton *>())
        EXPECT_FALSE(button->isDefault()) << button->text().toStdString();

    dialog.chkDetectRom->setChecked(true);
    testsupport::pressKey(dialog.chkDetectRom, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isUnloaded());
    SettingsRecord stored;
    stored.read();
    EXPECT_FALSE(stored.AutoDetectRom);
}

TEST_F(OptionsDialog, TabReachesTheRecentCountAndTheArrowKeysSetIt)
{
    storeDefaults();
    frmOptions dialog;
    dialog.load();
    dialog.show();
    dialog.chkMruItems->setChecked(true);
    dialog.chkMruItems->setFocus();
    testsupport::pressKey(dialog.chkMruItems, Qt::Key_Tab);
    ASSERT_EQ(dialog.focusWidget(), dialog.vscMruItems);
    const int count = dialog.vscMruItems->value();
    testsupport::pressKey(dialog.vscMruItems, Qt::Key_Up);
    EXPECT_EQ(dialog.vscMruItems->value(), count + 1);
}
