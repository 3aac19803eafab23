#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "Controls.h"
#include "FrontendFixture.h"
#include "MainWindowState.h"
#include "ProcessSupport.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmControlConfig.h"
#include "frmHelp.h"
#include "frmRealityBoy.h"

using frontendtest::FrontendForm;
using frontendtest::writeRom;
using testsupport::messageBoxes;
using testsupport::processStarts;

namespace {

template <size_t N>
int chosen(const std::array<QRadioButton *, N> &buttons)
{
    for (size_t i = 0; i < N; ++i)
        if (buttons[i]->isChecked())
            return int(i);
    return -1;
}

template <size_t N>
QList<int> enabled(const std::array<QRadioButton *, N> &buttons)
{
    QList<int> on;
    for (size_t i = 0; i < N; ++i)
        if (buttons[i]->isEnabled())
            on << int(i);
    return on;
}

// Types into a box as a person would, over what it shows.
void type(controls::NumberBox *box, const QString &keys)
{
    box->selectAll();
    for (const QChar key : keys)
        box->insert(QString(key));
}

class RealityBoyForm : public FrontendForm {
protected:
    QString emulator;

    void SetUp() override
    {
        FrontendForm::SetUp();
        emulator = emulatorFolder(QStringLiteral("reality boy"));
        settings::Save(QStringLiteral("Reality Boy Directory"), emulator);
    }
    // Chooses `rom` through "Select ROM...".
    static void choose(frmRealityBoy &w, const QString &rom)
    {
        testsupport::fileDialogs().answerNext(rom);
        w.cmdOpen->click();
    }
};

} // namespace

TEST_F(RealityBoyForm, AFirstStartShowsTheDefaultOptionsWithRunUnavailable)
{
    frmRealityBoy w;
    w.load();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Reality Boy Frontend"));
    EXPECT_EQ(w.optDspMode[0]->text(), QStringLiteral("Normal (No 3D Effects)"));
    EXPECT_EQ(chosen(w.optDspMode), 0);
    EXPECT_EQ(chosen(w.optDisplay), 1);
    EXPECT_EQ(w.optDisplay[1]->text(), QStringLiteral("640x480"));
    EXPECT_EQ(chosen(w.optPalette), 0);
    EXPECT_EQ(enabled(w.optPalette), QList<int>({0, 1}));
    EXPECT_EQ(w.txtFrameSkip->text(), QStringLiteral("0"));
    EXPECT_EQ(w.txtBrightness->text(), QStringLiteral("64"));
    EXPECT_EQ(w.vscBrightness->value(), 64);
    EXPECT_FALSE(w.chkPalette->isChecked());
    EXPECT_FALSE(w.chkFlip->isChecked());
    EXPECT_FALSE(w.cmdRunRealityBoy->isEnabled());
    EXPECT_FALSE(w.cmdRunDebugMode->isEnabled());
    EXPECT_EQ(w.cmbFilename->currentText(), QStringLiteral("Please select a file name..."));
    testsupport::saveScreenshot(w, QStringLiteral("frmRealityBoy"));
}

TEST_F(RealityBoyForm, TheDisplayModeOffersItsPalettesAndKeepsAFittingChoice)
{
    frmRealityBoy w;
    w.load();
    struct Step {
        int palette; // chosen before the mode, -1 to leave it
        int mode;
        int paletteAfter;
        QList<int> offered;
    };
    const Step steps[] = {
        {-1, 1, 2, {2, 3, 4}}, // red/blue takes "Red/Blue" when no colour pair was chosen
        {4, 2, 3, {2, 3, 4}},  // red/green always brings "Red/Green"
        {4, 1, 4, {2, 3, 4}},  // red/blue keeps a chosen colour pair
        {-1, 3, 0, {0, 1}},    // interlace takes "Grayscale" after a colour pair
        {1, 6, 1, {0, 1}},     // and keeps a chosen 2D palette
    };
    for (const Step &s : steps) {
        if (s.palette >= 0)
            w.optPalette[size_t(s.palette)]->setChecked(true);
        w.optDspMode[size_t(s.mode)]->setChecked(true);
        EXPECT_EQ(chosen(w.optPalette), s.paletteAfter) << "mode " << s.mode;
        EXPECT_EQ(enabled(w.optPalette), s.offered) << "mode " << s.mode;
    }
}

TEST_F(RealityBoyForm, ALoadedPaletteIsChosenAfterTheDisplayModeRule)
{
    settings::Save(QStringLiteral("Reality Boy Display Mode"), QStringLiteral("1"));
    settings::Save(QStringLiteral("Reality Boy Palette"), QStringLiteral("1"));
    frmRealityBoy w;
    w.load();
    EXPECT_EQ(chosen(w.optPalette), 1);
    EXPECT_FALSE(w.optPalette[1]->isEnabled());
}

TEST_F(RealityBoyForm, NumberBoxesHoldTheirRangeAndMoveTheirScrollBars)
{
    frmRealityBoy w;
    w.load();
    struct Case {
        bool brightness;
        bool typed; // typed key by key; else pasted over the whole text
        const char *input;
        const char *shown;
        int value;
    };
    const Case cases[] = {
        {true, true, "12abc", "12", 12}, {true, true, "200", "127", 127}, {false, true, "15", "9", 9},
        {true, true, "7.5", "75", 75},   {true, false, "7.5", "8", 8},    {true, false, "-3", "0", 0},
        {true, false, "&H20", "32", 32}, {false, false, "", "", 0},       {false, true, "-", "0", 0},
        {true, false, "", "0", 0},
    };
    for (const Case &c : cases) {
        // Each case starts from the designed values.
        w.vscBrightness->setValue(64);
        w.vscFrameSkip->setValue(0);
        controls::NumberBox *box = c.brightness ? w.txtBrightness : w.txtFrameSkip;
        QScrollBar *bar = c.brightness ? w.vscBrightness : w.vscFrameSkip;
        if (c.typed)
            type(box, QLatin1String(c.input));
        else
            box->setText(QLatin1String(c.input));
        EXPECT_EQ(box->text(), QLatin1String(c.shown)) << c.input;
        EXPECT_EQ(bar->value(), c.value) << c.input;
    }
    w.vscFrameSkip->setValue(5);
    EXPECT_EQ(w.txtFrameSkip->text(), QStringLiteral("5"));
}

TEST_F(RealityBoyForm, SavedOptionsComeBackWhenTheWindowOpensAgain)
{
    {
        frmRealityBoy w;
        w.load();
        w.optDspMode[4]->setChecked(true);
        w.optDisplay[6]->setChecked(true);
        w.optPalette[1]->setChecked(true);
        w.vscFrameSkip->setValue(3);
        w.txtBrightness->setText(QStringLiteral("100"));
        w.chkFlip->setChecked(true);
        w.chkPalette->setChecked(true);
        w.cmdSaveSettings->click();
        EXPECT_TRUE(messageBoxes().calls.isEmpty());
    }
    EXPECT_EQ(settings::Get(QStringLiteral("Reality Boy Display Mode")), QStringLiteral("4"));
    EXPECT_EQ(settings::Get(QStringLiteral("Reality Boy Brightness")), QStringLiteral("100"));
    EXPECT_EQ(settings::Get(QStringLiteral("Reality Boy Flip 3D Effects")), QStringLiteral("True"));
    frmRealityBoy again;
    again.load();
    EXPECT_EQ(chosen(again.optDspMode), 4);
    EXPECT_EQ(chosen(again.optDisplay), 6);
    EXPECT_EQ(chosen(again.optPalette), 1);
    EXPECT_EQ(again.txtFrameSkip->text(), QStringLiteral("3"));
    EXPECT_EQ(again.txtBrightness->text(), QStringLiteral("100"));
    EXPECT_TRUE(again.chkFlip->isChecked());
    EXPECT_TRUE(again.chkPalette->isChecked());
}

TEST_F(RealityBoyForm, StoredValuesOutOfRangeReadAsTheirDefaults)
{
    const std::pair<const char *, const char *> stored[] = {
        {"Reality Boy Display Mode", "9"}, {"Reality Boy Resolution", "-1"}, {"Reality Boy Palette", "5"},
        {"Reality Boy Frame Skip", "10"},  {"Reality Boy Brightness", "300"}, {"Reality Boy Ignore Palette", "maybe"},
    };
    for (const auto &[key, value] : stored)
        settings::Save(QLatin1String(key), QLatin1String(value));
    frmRealityBoy w;
    w.load();
    EXPECT_EQ(chosen(w.optDspMode), 0);
    EXPECT_EQ(chosen(w.optDisplay), 1);
    EXPECT_EQ(chosen(w.optPalette), 0);
    EXPECT_EQ(w.txtFrameSkip->text(), QStringLiteral("0"));
    EXPECT_EQ(w.txtBrightness->text(), QStringLiteral("64"));
    EXPECT_FALSE(w.chkPalette->isChecked());
}

TEST_F(RealityBoyForm, RevertsAskFirstAndChangeOnlyTheControls)
{
    settings::Save(QStringLiteral("Reality Boy Frame Skip"), QStringLiteral("2"));
    frmRealityBoy w;
    w.load();
    w.optDspMode[5]->setChecked(true);
    w.vscBrightness->setValue(10);
    w.cmdSaveSettings->click(); // saved: mode 5, frame skip 2, brightness 10
    w.vscFrameSkip->setValue(7);
    w.chkFlip->setChecked(true);

    messageBoxes().answerNext(msgbox::vbNo);
    w.cmdRevertDefault->click();
    EXPECT_EQ(w.vscFrameSkip->value(), 7);
    const msgbox::Call question = messageBoxes().last();
    EXPECT_EQ(question.prompt, QStringLiteral("Do you wish to revert to default settings?"));
    EXPECT_EQ(question.title, QStringLiteral("Revert to default"));
    EXPECT_EQ(question.style, msgbox::vbYesNo + msgbox::vbQuestion + msgbox::vbDefaultButton2);

    messageBoxes().answerNext(msgbox::vbYes);
    w.cmdRevertDefault->click();
    EXPECT_EQ(chosen(w.optDspMode), 0);
    EXPECT_EQ(w.txtFrameSkip->text(), QStringLiteral("0"));
    EXPECT_EQ(w.txtBrightness->text(), QStringLiteral("64"));
    EXPECT_FALSE(w.chkFlip->isChecked());
    EXPECT_EQ(settings::Get(QStringLiteral("Reality Boy Brightness")), QStringLiteral("10"));

    messageBoxes().answerNext(msgbox::vbYes);
    w.cmdRevertSettings->click();
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Revert to saved"));
    EXPECT_EQ(chosen(w.optDspMode), 5);
    EXPECT_EQ(w.txtFrameSkip->text(), QStringLiteral("2"));
    EXPECT_EQ(w.txtBrightness->text(), QStringLiteral("10"));
}

TEST_F(RealityBoyForm, HelpShowsTheWindowsHelpTextAndBackCloses)
{
    QString caption, text;
    testsupport::modalWindows().on<frmHelp>([&](frmHelp &h) {
        caption = h.windowTitle();
        text = h.txtHelp->toPlainText();
    });
    frmRealityBoy w;
    w.load();
    w.mnuHelpHelp->trigger();
    EXPECT_EQ(caption, QStringLiteral("Reality Boy Frontend Help"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Reality Boy Frontend:\n=====================\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("The brightness can only be set to a maximum of 255.")));
    EXPECT_TRUE(mainwindow::Tag().isEmpty());

    w.show();
    w.mnuFileBack->trigger();
    EXPECT_TRUE(w.isUnloaded());
}

TEST_F(RealityBoyForm, ControlConfigurationShowsRealityBoysKeys)
{
    QString caption, aButton;
    testsupport::modalWindows().on<frmControlConfig>([&](frmControlConfig &d) {
        caption = d.windowTitle();
        aButton = d.cmdAButton->text();
    });
    frmRealityBoy w;
    w.load();
    ASSERT_TRUE(w.cmdControlConfig->isEnabled());
    w.cmdControlConfig->click();
    EXPECT_EQ(caption, QStringLiteral("Reality Boy Control Configuration..."));
    EXPECT_EQ(aButton, QStringLiteral("M m"));
    EXPECT_TRUE(mainwindow::Tag().isEmpty());
}

TEST_F(RealityBoyForm, RunStartsTheEmulatorWithTheControlsAsTheyStand)
{
    const QString program = testsupport::installStub(emulator, QStringLiteral("RBOY.EXE"));
    const QString rom = writeRom(QStringLiteral("roms/my game.vb"));
    frmRealityBoy w;
    w.load();
    choose(w, rom);
    ASSERT_TRUE(w.cmdRunRealityBoy->isEnabled());
    w.optDspMode[2]->setChecked(true); // brings the red/green palette
    w.optDisplay[5]->setChecked(true);
    w.vscFrameSkip->setValue(9);
    w.chkFlip->setChecked(true);
    w.chkPalette->setCheckState(Qt::PartiallyChecked); // greyed counts as clear

    w.cmdRunRealityBoy->click();
    w.cmdRunDebugMode->click();
    const QList<process::Launch> &launches = processStarts().launches;
    ASSERT_EQ(launches.size(), 2);
    const QString head = emulator + QStringLiteral("/RBOY ") + rom;
    EXPECT_EQ(process::CommandLine(launches[0].request),
              head + QStringLiteral(" -display 1024 -dspmode red_blue -frmskip 9 -pallet rg -brite 64 -flip"));
    EXPECT_EQ(process::CommandLine(launches[1].request),
              head + QStringLiteral(" -display 1024 -dspmode red_blue -frmskip 9 -pallet rg -brite 64 -flip -debug"));
    EXPECT_EQ(launches[0].program, program);
    EXPECT_EQ(launches[0].request.windowStyle, process::vbNormalFocus);
    // Unsaved options take effect without being saved.
    EXPECT_TRUE(settings::Get(QStringLiteral("Reality Boy Display Mode")).isEmpty());
    EXPECT_TRUE(messageBoxes().calls.isEmpty());
}

TEST_F(RealityBoyForm, RunWithoutARomAsksForOneAndStartsNothing)
{
    testsupport::installStub(emulator, QStringLiteral("RBOY.EXE"));
    for (int count : {4, 0}) {
        storeRecent({}, count);
        frmRealityBoy w;
        w.load();
        messageBoxes() = testsupport::MessageBoxes{};
        w.cmdRunRealityBoy_Click(); // the button is disabled; its handler refuses too
        ASSERT_EQ(messageBoxes().calls.size(), 1) << count;
        EXPECT_EQ(messageBoxes().last().prompt, QStringLiteral("Select a ROM image to run."));
        EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Select ROM"));
        EXPECT_EQ(messageBoxes().last().style, msgbox::vbOKOnly + msgbox::vbExclamation);
    }
    EXPECT_TRUE(processStarts().launches.isEmpty());
}

TEST_F(RealityBoyForm, AVanishedRomOrAMissingEmulatorIsReportedAndNothingStarts)
{
    const QString rom = writeRom(QStringLiteral("wario.vb"));
    frmRealityBoy w;
    w.load();
    choose(w, rom);

    w.cmdRunRealityBoy->click(); // no emulator in its folder
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Unable to start program"));
    EXPECT_EQ(messageBoxes().last().prompt,
              QStringLiteral("Unable to find the program \"VB_98\" in the folder:\r") + emulator);

    testsupport::installStub(emulator, QStringLiteral("rboy.exe"));
    QFile::remove(rom);
    w.cmdRunRealityBoy->click();
    EXPECT_EQ(messageBoxes().last().prompt, QStringLiteral("File does not exist."));
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Invalid filename"));
    EXPECT_TRUE(processStarts().launches.isEmpty());
}

TEST_F(RealityBoyForm, TheStubStartsWithTheCommandLineDirectlyAndThroughWine)
{
    const QString rom = writeRom(QStringLiteral("my roms/wario land.vb"));
    testsupport::allowRealStarts();

    testsupport::installStub(emulator, QStringLiteral("rboy.exe"));
    {
        frmRealityBoy w;
        w.load();
        choose(w, rom);
        w.cmdRunRealityBoy->click();
    }
    auto record = testsupport::waitForStubRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->program, QStringLiteral("rboy.exe"));
    EXPECT_EQ(record->cwd, QDir::currentPath()); // the emulator inherits our folder
    const QStringList options{QStringLiteral("-display"), QStringLiteral("640"),    QStringLiteral("-dspmode"),
                              QStringLiteral("normal"),   QStringLiteral("-frmskip"), QStringLiteral("0"),
                              QStringLiteral("-pallet"),  QStringLiteral("normal"), QStringLiteral("-brite"),
                              QStringLiteral("64"),       QStringLiteral("-debug")};
    EXPECT_EQ(record->arguments, QStringList{rom} + options.mid(0, 10));

    QFile::remove(emulator + QStringLiteral("/rboy.exe"));
    testsupport::writeWindowsProgram(emulator + QStringLiteral("/RBOY.EXE"));
    testsupport::PathForTest path(testsupport::PathForTest::WithFakeWine);
    {
        frmRealityBoy w;
        w.load();
        w.cmbFilename->setCurrentIndex(1); // the ROM from the recent list
        w.cmdRunDebugMode->click();
    }
    record = testsupport::waitForStubRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->program, QStringLiteral("wine"));
    EXPECT_EQ(record->arguments, QStringList({process::WinePath(emulator + QStringLiteral("/RBOY.EXE")), process::WinePath(rom)})
                                     + options);
}
