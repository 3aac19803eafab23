#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "FrontendFixture.h"
#include "MainWindowState.h"
#include "ProcessSupport.h"
#include "SaveFile.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "KeyNames.h"
#include "frmControlConfig.h"
#include "frmHelp.h"
#include "frmRedDragon.h"

using frontendtest::FrontendForm;
using frontendtest::image;
using frontendtest::writeRom;
using testsupport::messageBoxes;
using testsupport::processStarts;

namespace {

const QString kPlaceholder = QStringLiteral("Please select a file name...");

QByteArray lines(std::initializer_list<const char *> texts)
{
    QByteArray text;
    for (const char *line : texts)
        text += QByteArray(line) + "\r\n";
    return text;
}

const QByteArray kDefaultKeyLines = lines({"lu=0005", "ld=0003", "ll=0019", "lr=0006", "ru=0009", "rd=0072", "rl=0010",
                                           "rr=0012", "ba=0013", "bb=0014", "st=0002", "sl=0022", "tl=0007", "tr=0008"});

QString chosenText(const QListWidget *list)
{
    const QList<QListWidgetItem *> chosen = list->selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->text();
}

class RedDragonForm : public FrontendForm {
protected:
    QString emulator;

    void SetUp() override
    {
        FrontendForm::SetUp();
        emulator = emulatorFolder(QStringLiteral("red dragon"));
        settings::Save(QStringLiteral("Red Dragon Directory"), emulator);
    }
    QString optionsFile() const { return emulator + QStringLiteral("/options.dat"); }
    void writeOptions(const QByteArray &text) const { testsupport::writeFile(QStringLiteral("red dragon/options.dat"), text); }
    QString installEmulator() const { return testsupport::installStub(emulator, QStringLiteral("rdragon.exe")); }
    static void open(frmRedDragon &w, std::optional<QString> answer)
    {
        testsupport::fileDialogs().answerNext(std::move(answer));
        w.cmdOpen->click();
    }
    static void chooseRow(QListWidget *list, const QString &text)
    {
        const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        list->setCurrentItem(found.last());
    }
};

} // namespace

TEST_F(RedDragonForm, WithoutAnOptionFileTheWindowShowsTheDefaults)
{
    frmRedDragon w;
    w.load();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Red Dragon Frontend"));
    EXPECT_EQ(w.lstScreenMode->count(), 9);
    EXPECT_EQ(w.lstScreenCols->count(), 5);
    EXPECT_EQ(w.cmbDisplayMode->count(), 6);
    EXPECT_EQ(w.cmbPalette->count(), 5);
    EXPECT_EQ(w.cmbVersion->count(), 2);
    EXPECT_EQ(chosenText(w.lstScreenMode), QStringLiteral("Autodetect"));
    EXPECT_EQ(w.lstScreenSize->count(), 32);
    EXPECT_EQ(chosenText(w.lstScreenSize), QStringLiteral(" 640x480"));
    EXPECT_EQ(chosenText(w.lstScreenCols), QStringLiteral("  8 bpp (256 colors)"));
    EXPECT_EQ(w.sliFrameskip->value(), 0);
    EXPECT_EQ(w.sliFrameskip->toolTip(), QStringLiteral("0"));
    EXPECT_EQ(w.cmbDisplayMode->currentText(), QStringLiteral("Normal"));
    EXPECT_TRUE(w.optBrightness[0]->isChecked());
    EXPECT_EQ(w.cmbPalette->currentText(), QStringLiteral("Normal"));
    EXPECT_FALSE(w.chkSwap3D->isChecked());
    EXPECT_EQ(w.cmbVersion->currentText(), QStringLiteral("Win"));
    EXPECT_TRUE(w.cmdRunRedDragon->isEnabled());
    EXPECT_EQ(w.cmbFilename->currentText(), kPlaceholder);
    EXPECT_EQ(w.cmbFilename->toolTip(), kPlaceholder);
    EXPECT_FALSE(QFile::exists(optionsFile())); // reading writes nothing
    testsupport::saveScreenshot(w, QStringLiteral("frmRedDragon"));
}

TEST_F(RedDragonForm, AGraphicsModeOffersItsSizesWithNoneChosen)
{
    frmRedDragon w;
    w.load();
    struct Case {
        const char *mode;
        int sizes;
        const char *last;
    };
    const Case cases[] = {{"GDI", 33, " 384x224"},           {"DirectDraw accel", 10, "1024x768"},
                          {"DirectDraw safe", 10, "1024x768"}, {"DirectDraw window", 32, " 400x600"},
                          {"Autodetect", 32, " 400x600"}};
    for (const Case &c : cases) {
        chooseRow(w.lstScreenSize, QStringLiteral(" 640x480"));
        chooseRow(w.lstScreenMode, QLatin1String(c.mode));
        EXPECT_EQ(w.lstScreenSize->count(), c.sizes) << c.mode;
        EXPECT_EQ(w.lstScreenSize->item(c.sizes - 1)->text(), QLatin1String(c.last)) << c.mode;
        EXPECT_TRUE(w.lstScreenSize->selectedItems().isEmpty()) << c.mode;
    }
}

TEST_F(RedDragonForm, TheSizesFollowTheModeClickedWithTheMouseAtOnce)
{
    frmRedDragon w;
    w.load();
    w.show();
    const struct {
        const char *mode;
        int sizes;
    } clicks[] = {{"GDI", 33}, {"DirectDraw accel", 10}, {"DirectDraw window", 32}, {"GDI", 33}};
    for (const auto &click : clicks) {
        QListWidgetItem *item = w.lstScreenMode->findItems(QLatin1String(click.mode), Qt::MatchExactly).value(0);
        ASSERT_NE(item, nullptr) << click.mode;
        const QPoint centre = w.lstScreenMode->visualItemRect(item).center();
        QTest::mouseClick(w.lstScreenMode->viewport(), Qt::LeftButton, {}, centre);
        EXPECT_EQ(chosenText(w.lstScreenMode), QLatin1String(click.mode));
        EXPECT_EQ(w.lstScreenSize->count(), click.sizes) << click.mode;
    }
}

TEST_F(RedDragonForm, TheOptionFileChoosesTheControls)
{
    writeOptions(lines({"platform=0001", "frmskip=0004", "dspmode=0003", "dspswap=0001", "palmode=0003", "scrx=0384",
                        "scry=0224", "scrmode=0004", "ba=0099"}));
    frmRedDragon w;
    w.load();
    EXPECT_EQ(w.cmbVersion->currentText(), QStringLiteral("DOS"));
    EXPECT_EQ(w.sliFrameskip->value(), 4);
    EXPECT_EQ(w.sliFrameskip->toolTip(), QStringLiteral("4"));
    EXPECT_EQ(w.cmbDisplayMode->currentText(), QStringLiteral("Over / Under"));
    EXPECT_TRUE(w.chkSwap3D->isChecked());
    EXPECT_EQ(w.cmbPalette->currentText(), QStringLiteral("Red & Green"));
    EXPECT_EQ(chosenText(w.lstScreenMode), QStringLiteral("DirectDraw accel"));
    // A size the mode does not offer is added at the end and chosen.
    EXPECT_EQ(w.lstScreenSize->count(), 11);
    EXPECT_EQ(chosenText(w.lstScreenSize), QStringLiteral(" 384x224"));
    EXPECT_EQ(w.lstScreenSize->row(w.lstScreenSize->selectedItems().first()), 10);
    EXPECT_EQ(w.RedDragonOptions.ba, 99);
    EXPECT_EQ(w.RedDragonOptions.lu, 5); // a key the file does not give keeps its default
}

TEST_F(RedDragonForm, AModeNumberOfNoModeChoosesNoneAndOnlyTheStoredSize)
{
    writeOptions(lines({"scrmode=0005", "scrx=0320", "scry=0240", "frmskip=0002"}));
    frmRedDragon w;
    w.load();
    EXPECT_TRUE(w.lstScreenMode->selectedItems().isEmpty());
    ASSERT_EQ(w.lstScreenSize->count(), 1);
    EXPECT_EQ(chosenText(w.lstScreenSize), QStringLiteral(" 320x240"));

    // Revert Settings leaves the mode as it stands and still applies the rest.
    chooseRow(w.lstScreenMode, QStringLiteral("GDI"));
    w.sliFrameskip->setValue(8);
    messageBoxes().answerNext(msgbox::vbYes);
    w.cmdRevertSettings->click();
    EXPECT_EQ(chosenText(w.lstScreenMode), QStringLiteral("GDI"));
    EXPECT_EQ(chosenText(w.lstScreenSize), QStringLiteral(" 320x240"));
    EXPECT_EQ(w.sliFrameskip->value(), 2);
}

TEST_F(RedDragonForm, RunWritesTheWholeOptionFileThenStartsTheEmulatorInItsFolder)
{
    const QString program = installEmulator();
    frmRedDragon w;
    w.load();
    chooseRow(w.lstScreenMode, QStringLiteral("DirectDraw soft"));
    chooseRow(w.lstScreenSize, QStringLiteral("1024x768"));
    w.sliFrameskip->setValue(3);
    w.cmbDisplayMode->setCurrentIndex(1);
    w.cmbPalette->setCurrentIndex(4);
    w.chkSwap3D->setChecked(true);
    w.cmbVersion->setCurrentIndex(1);

    QByteArray fileAtStart;
    processStarts().onLaunch = [&](const process::Launch &) { fileAtStart = testsupport::readFile(optionsFile()); };
    w.cmdRunRedDragon->click(); // with the placeholder: no ROM
    ASSERT_EQ(processStarts().launches.size(), 1);
    const process::Launch launch = processStarts().launches[0];
    EXPECT_EQ(process::CommandLine(launch.request), emulator + QStringLiteral("/RDRAGON"));
    EXPECT_EQ(launch.program, program);
    EXPECT_EQ(launch.request.workingFolder, emulator);
    EXPECT_EQ(launch.request.windowStyle, process::vbNormalFocus);
    // The first start writes the emulator's own keys.
    const QByteArray expected = lines({"platform=0001", "frmskip=0003", "dspmode=0001", "dspswap=0001", "palmod=0004",
                                       "scrx=1024", "scry=0768", "scrmode=0006"})
                                + kDefaultKeyLines;
    EXPECT_EQ(fileAtStart, expected);
    EXPECT_EQ(w.txtOptions->toPlainText().toLatin1(), expected.chopped(2).replace("\r\n", "\n"));
    EXPECT_TRUE(messageBoxes().calls.isEmpty());

    // Written again unchanged, the file is the same; and it reads back whole.
    w.cmdRunRedDragon->click();
    EXPECT_EQ(testsupport::readFile(optionsFile()), expected);
    frmRedDragon again;
    again.load();
    EXPECT_EQ(chosenText(again.lstScreenMode), QStringLiteral("DirectDraw soft"));
    EXPECT_EQ(chosenText(again.lstScreenSize), QStringLiteral("1024x768"));
    EXPECT_EQ(again.sliFrameskip->value(), 3);
    EXPECT_EQ(again.cmbDisplayMode->currentIndex(), 1);
    EXPECT_EQ(again.cmbPalette->currentIndex(), 4);
    EXPECT_TRUE(again.chkSwap3D->isChecked());
    EXPECT_EQ(again.cmbVersion->currentIndex(), 1);
}

TEST_F(RedDragonForm, AModeChosenWithoutASizeKeepsTheLastSizeInTheFile)
{
    installEmulator();
    frmRedDragon w;
    w.load();
    chooseRow(w.lstScreenSize, QStringLiteral("1280x1024"));
    chooseRow(w.lstScreenMode, QStringLiteral("GDI"));
    ASSERT_TRUE(w.lstScreenSize->selectedItems().isEmpty());
    w.cmdRunRedDragon->click();
    const QByteArray file = testsupport::readFile(optionsFile());
    EXPECT_TRUE(file.contains("\r\nscrx=1280\r\nscry=1024\r\nscrmode=0010\r\n")) << file.toStdString();
}

TEST_F(RedDragonForm, RunNamesTheChosenRomOrReportsItGone)
{
    installEmulator();
    const QString rom = writeRom(QStringLiteral("my roms/mario tennis.vb"));
    frmRedDragon w;
    w.load();
    open(w, rom);
    EXPECT_EQ(w.cmbFilename->toolTip(), rom);
    w.cmdRunRedDragon->click();
    ASSERT_EQ(processStarts().launches.size(), 1);
    EXPECT_EQ(process::CommandLine(processStarts().launches[0].request), emulator + QStringLiteral("/RDRAGON ") + rom);

    QFile::remove(rom);
    QFile::remove(optionsFile());
    w.cmdRunRedDragon->click();
    EXPECT_EQ(messageBoxes().last().prompt, QStringLiteral("File does not exist."));
    EXPECT_EQ(processStarts().launches.size(), 1);
    EXPECT_FALSE(QFile::exists(optionsFile()));
}

TEST_F(RedDragonForm, NothingStartsWhereTheEmulatorOrItsOptionFileCannotBe)
{
    frmRedDragon w;
    w.load();
    w.cmdRunRedDragon->click();
    EXPECT_EQ(messageBoxes().last().prompt,
              QStringLiteral("Unable to find the program \"RDRAGON\" in the folder:\r") + emulator);
    EXPECT_FALSE(QFile::exists(optionsFile())); // nothing written for an emulator that isn't there

    installEmulator();
    const QByteArray old = lines({"frmskip=0001"});
    writeOptions(old);
    savefile::SetFaultHook([](savefile::Step step) { return step == savefile::Step::Replace ? EACCES : 0; });
    w.cmdRunRedDragon->click();
    savefile::SetFaultHook({});
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("File error"));
    EXPECT_TRUE(messageBoxes().last().prompt.startsWith(QStringLiteral("Unable to save the file:\r") + optionsFile()));
    EXPECT_TRUE(processStarts().launches.isEmpty());
    EXPECT_EQ(testsupport::readFile(optionsFile()), old);
}

TEST_F(RedDragonForm, RevertsAskFirstAndLeaveKeysAndRomAlone)
{
    installEmulator();
    writeOptions(lines({"platform=0001", "scrmode=0010", "scrx=0384", "scry=0224", "frmskip=0005", "palmode=0002",
                        "lu=0050"}));
    const QString rom = writeRom(QStringLiteral("wario.vb"));
    frmRedDragon w;
    w.load();
    open(w, rom);
    w.sliFrameskip->setValue(9);
    w.cmbPalette->setCurrentIndex(0);
    w.cmdRunRedDragon->click(); // the file now holds the changed options

    messageBoxes().answerNext(msgbox::vbNo);
    w.cmdRevertSettings->click();
    EXPECT_EQ(w.sliFrameskip->value(), 9);
    EXPECT_EQ(messageBoxes().last().style, msgbox::vbYesNo + msgbox::vbQuestion + msgbox::vbDefaultButton2);

    messageBoxes().answerNext(msgbox::vbYes);
    w.cmdRevertSettings->click();
    EXPECT_EQ(w.sliFrameskip->value(), 5); // as loaded, not as last written
    EXPECT_EQ(w.cmbPalette->currentIndex(), 2);
    EXPECT_EQ(chosenText(w.lstScreenMode), QStringLiteral("GDI"));
    EXPECT_EQ(chosenText(w.lstScreenSize), QStringLiteral(" 384x224"));

    messageBoxes().answerNext(msgbox::vbYes);
    w.cmdRevertDefault->click();
    EXPECT_EQ(messageBoxes().last().prompt, QStringLiteral("Do you wish to revert to default settings?"));
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Revert to default"));
    EXPECT_EQ(chosenText(w.lstScreenMode), QStringLiteral("Autodetect"));
    EXPECT_EQ(chosenText(w.lstScreenSize), QStringLiteral(" 640x480"));
    EXPECT_EQ(w.sliFrameskip->value(), 0);
    EXPECT_EQ(w.cmbPalette->currentIndex(), 0);
    EXPECT_EQ(w.cmbVersion->currentText(), QStringLiteral("Win"));
    EXPECT_TRUE(w.optBrightness[0]->isChecked());
    EXPECT_EQ(w.RedDragonOptions.lu, 50);
    EXPECT_EQ(w.cmbFilename->currentText(), rom);
}

TEST_F(RedDragonForm, TheRomListNeverTakesRunAwayAndTheToolTipFollowsTheRow)
{
    const QString good = writeRom(QStringLiteral("good.vb"));
    const QString bad = writeRom(QStringLiteral("bad.vb"), image(1024, false));
    const QString gone = testsupport::tempDir() + QStringLiteral("/gone.vb");
    storeRecent({gone, bad, good});
    frmRedDragon w;
    w.load();

    w.cmbFilename->setCurrentIndex(1); // gone
    EXPECT_EQ(messageBoxes().last().prompt, QStringLiteral("File does not exist."));
    EXPECT_EQ(w.cmbFilename->currentIndex(), 0);
    EXPECT_EQ(w.cmbFilename->toolTip(), kPlaceholder);
    EXPECT_TRUE(w.cmdRunRedDragon->isEnabled());

    w.cmbFilename->setCurrentIndex(1); // bad: reported and not put back
    EXPECT_EQ(messageBoxes().last().prompt, QStringLiteral("Invalid VB ROM image."));
    EXPECT_EQ(rows(w.cmbFilename), QStringList({kPlaceholder, good}));
    EXPECT_TRUE(w.cmdRunRedDragon->isEnabled());

    open(w, bad); // fails from the dialog too, and the list goes on taking picks
    EXPECT_EQ(w.cmbFilename->currentIndex(), 0);
    w.cmbFilename->setCurrentIndex(1);
    EXPECT_EQ(w.cmbFilename->currentText(), good);
    EXPECT_EQ(w.cmbFilename->toolTip(), good);
    EXPECT_TRUE(mainwindow::dlgZandrel().FileName.isEmpty());
}

TEST_F(RedDragonForm, WithoutARecentListRunStartsWithoutARomUntilACheckFails)
{
    installEmulator();
    storeRecent({}, 0);
    frmRedDragon w;
    w.load();
    EXPECT_EQ(w.lblFilename->text(), kPlaceholder);
    ASSERT_TRUE(w.cmdRunRedDragon->isEnabled());
    w.cmdRunRedDragon->click();
    ASSERT_EQ(processStarts().launches.size(), 1);
    EXPECT_TRUE(processStarts().launches[0].request.arguments.isEmpty());

    open(w, writeRom(QStringLiteral("bad.vb"), image(600, false)));
    EXPECT_FALSE(w.cmdRunRedDragon->isEnabled());
    const QString good = writeRom(QStringLiteral("good.vb"));
    open(w, good);
    EXPECT_EQ(w.lblFilename->text(), good);
    EXPECT_TRUE(w.cmdRunRedDragon->isEnabled());
}

TEST_F(RedDragonForm, TheKeysGoToTheKeyConfigurationAndComeBackOnOk)
{
    installEmulator();
    writeOptions(lines({"ba=0002", "st=0013"}));
    QStringList handed;
    QString mode;
    bool confirm = false;
    const int16_t zKey = keynames::RedDragonKeyFromName(keynames::VirtualKeyName('Z'));
    ASSERT_GT(zKey, 0);
    frmRedDragon w;
    testsupport::modalWindows().on<frmControlConfig>([&](frmControlConfig &dialog) {
        mode = mainwindow::Tag();
        handed.clear();
        for (int i = 0; i < w.lstControls->count(); ++i)
            handed << w.lstControls->item(i)->text();
        dialog.KeyCodes[controllerkeys::Select] = 'Z';
        (confirm ? dialog.cmdVirteOK : dialog.cmdVirteCancel)->click();
    });
    w.load();

    w.cmdControlConfig->click(); // left without OK
    EXPECT_EQ(mode, QStringLiteral("Red Dragon"));
    EXPECT_EQ(handed, QStringList({"2", "14", "7", "8", "5", "3", "19", "6", "9", "72", "10", "12", "13", "22"}));
    const std::array<int16_t, 14> loaded{2, 14, 7, 8, 5, 3, 19, 6, 9, 72, 10, 12, 13, 22};
    EXPECT_EQ(w.RedDragonOptions.keys(), loaded);

    confirm = true;
    w.cmdControlConfig->click();
    std::array<int16_t, 14> changed = loaded;
    changed[13] = zKey;
    EXPECT_EQ(w.RedDragonOptions.keys(), changed);
    EXPECT_TRUE(mainwindow::Tag().isEmpty());

    // The next Run writes them.
    w.cmdRunRedDragon->click();
    EXPECT_TRUE(testsupport::readFile(optionsFile()).contains("\r\nsl=" + QByteArray::number(zKey).rightJustified(4, '0') + "\r\n"));
}

TEST_F(RedDragonForm, HelpShowsTheWindowsPage)
{
    QString caption, text;
    testsupport::modalWindows().on<frmHelp>([&](frmHelp &h) {
        caption = h.windowTitle();
        text = h.txtHelp->toPlainText();
    });
    frmRedDragon w;
    w.load();
    w.mnuHelpHelp->trigger();
    EXPECT_EQ(caption, QStringLiteral("Red Dragon Frontend Help"));
    EXPECT_EQ(text.count(QLatin1Char('\n')), 33);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Red Dragon Frontend:\n====================\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("and choose a ROM file to run if you wish.\n")));
}

TEST_F(RedDragonForm, TheStubStartsInTheEmulatorsFolderDirectlyAndThroughWine)
{
    const QString rom = writeRom(QStringLiteral("my roms/vertical force.vb"));
    testsupport::allowRealStarts();
    installEmulator();
    {
        frmRedDragon w;
        w.load();
        open(w, rom);
        w.cmdRunRedDragon->click();
    }
    auto record = testsupport::waitForStubRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->program, QStringLiteral("rdragon.exe"));
    EXPECT_EQ(record->cwd, emulator);
    EXPECT_EQ(record->arguments, QStringList{rom});
    EXPECT_TRUE(QFile::exists(optionsFile()));

    QFile::remove(emulator + QStringLiteral("/rdragon.exe"));
    testsupport::writeWindowsProgram(emulator + QStringLiteral("/RDRAGON.EXE"));
    testsupport::PathForTest path(testsupport::PathForTest::WithFakeWine);
    {
        frmRedDragon w;
        w.load();
        w.cmbFilename->setCurrentIndex(1);
        w.cmdRunRedDragon->click();
    }
    record = testsupport::waitForStubRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->program, QStringLiteral("wine"));
    EXPECT_EQ(record->cwd, emulator);
    EXPECT_EQ(record->arguments,
              QStringList({process::WinePath(emulator + QStringLiteral("/RDRAGON.EXE")), process::WinePath(rom)}));
}
