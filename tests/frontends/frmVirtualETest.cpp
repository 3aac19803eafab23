#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>

#include "Controls.h"
#include "FrontendFixture.h"
#include "ImageControl.h"
#include "KeyStoreFixture.h"
#include "MainWindowState.h"
#include "ProcessSupport.h"
#include "Registry.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "VirtualERegistry.h"
#include "WindowSystem.h"
#include "frmControlConfig.h"
#include "frmHelp.h"
#include "frmVirtualE.h"

using testsupport::messageBoxes;
using testsupport::processStarts;

namespace {

int chosen(const QMap<int, QRadioButton *> &options)
{
    for (auto it = options.cbegin(); it != options.cend(); ++it)
        if (it.value()->isChecked())
            return it.key();
    return 0;
}

std::optional<registry::Value> option(const char *name)
{
    return registry::QueryValue(registry::Hive::CurrentUser, virtuale::kOptionsKey, QString::fromLatin1(name));
}

int visibleBrightnessPicture(const frmVirtualE &w)
{
    int shown = -1;
    for (size_t i = 0; i < w.imgBrightness.size(); ++i)
        if (!w.imgBrightness[i]->isHidden()) {
            EXPECT_EQ(shown, -1) << "two pictures shown";
            shown = int(i);
        }
    return shown;
}

class VirtualEForm : public frontendtest::FrontendForm {
protected:
    QString emulator;

    void SetUp() override
    {
        FrontendForm::SetUp();
        emulator = emulatorFolder(QStringLiteral("virtual e"));
        settings::Save(QStringLiteral("Virtual-E Directory"), emulator);
        testsupport::installStub(emulator, QStringLiteral("VirtualE.exe"));
    }

    // The emulator as the Windows program it is, in place of the native stub.
    void makeTheEmulatorAWindowsProgram()
    {
        QFile::remove(emulator + QStringLiteral("/VirtualE.exe"));
        testsupport::writeWindowsProgram(emulator + QStringLiteral("/VIRTUALE.EXE"));
    }
};

} // namespace

TEST_F(VirtualEForm, AFirstRunShowsAndWritesTheDefaultsAndStartsTheEmulatorMinimized)
{
    frmVirtualE w;
    w.load();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Virtual-E Frontend"));
    EXPECT_EQ(chosen(w.optDisplay), 2);
    EXPECT_EQ(w.optDisplay[2]->text(), QStringLiteral("Normal Priority"));
    EXPECT_EQ(chosen(w.optEmulator), 2);
    EXPECT_EQ(chosen(w.optStyle), 1);
    EXPECT_EQ(w.sliBrightness->value(), 0);
    EXPECT_EQ(visibleBrightnessPicture(w), 5);
    EXPECT_EQ(w.vscFrameSkip->value(), 1);
    EXPECT_EQ(w.vscFps->value(), 1);
    EXPECT_EQ(w.txtFrameSkip->text(), QStringLiteral("1"));
    for (QCheckBox *box : {w.chkIgnoreDisplayIrq, w.chkIgnoreTimerIrq, w.chkIgnoreControlIrq, w.chkEnableSram,
                           w.chkIgnoreRomPalette, w.chkEnableSound})
        EXPECT_FALSE(box->isChecked()) << box->text().toStdString();
    EXPECT_FALSE(registry::KeyExists(registry::Hive::CurrentUser, virtuale::kOptionsKey));

    w.cmdRunVirtualE->click();
    EXPECT_TRUE(messageBoxes().calls.isEmpty());
    EXPECT_EQ(registry::ValueNames(registry::Hive::CurrentUser, virtuale::kOptionsKey),
              (QStringList{"Display", "CPU", "Brtness", "Style", "Skip", "FPS", "DisplayInt", "TimeInt", "KeyInt", "RAM",
                           "NPalette", "Sound"}));
    EXPECT_EQ(virtuale::ReadOptions(), virtuale::Options{});
    ASSERT_EQ(processStarts().launches.size(), 1);
    const process::Launch &launch = processStarts().launches[0];
    EXPECT_EQ(launch.request.program, emulator + QStringLiteral("/VIRTUALE.EXE"));
    EXPECT_EQ(launch.program, emulator + QStringLiteral("/VirtualE.exe"));
    EXPECT_TRUE(launch.arguments.isEmpty());
    EXPECT_EQ(launch.request.windowStyle, process::vbMinimizedFocus);
    EXPECT_EQ(launch.request.workingFolder, QString());
    EXPECT_FALSE(w.isUnloaded());
    testsupport::saveScreenshot(w, QStringLiteral("frmVirtualE"));
}

TEST_F(VirtualEForm, StoredValuesShowAndABrightnessOfMinusFiveRoundTrips)
{
    virtuale::Options stored;
    stored.Display = 4;
    stored.CPU = 1;
    stored.Style = 3;
    stored.Skip = 5;
    stored.FPS = 50;
    stored.Sound = true;
    ASSERT_EQ(virtuale::SaveOptions(stored), QString());
    // Any number but 0 is True.
    registry::SetValue(registry::Hive::CurrentUser, virtuale::kOptionsKey, QStringLiteral("RAM"),
                       registry::Value::fromDword(2));

    frmVirtualE w;
    w.load();
    EXPECT_EQ(chosen(w.optDisplay), 4);
    EXPECT_EQ(chosen(w.optEmulator), 1);
    EXPECT_EQ(chosen(w.optStyle), 3);
    EXPECT_EQ(w.txtFrameSkip->text(), QStringLiteral("5"));
    EXPECT_EQ(w.txtFps->text(), QStringLiteral("50"));
    EXPECT_TRUE(w.chkEnableSram->isChecked());
    EXPECT_TRUE(w.chkEnableSound->isChecked());
    EXPECT_FALSE(w.chkIgnoreRomPalette->isChecked());

    w.sliBrightness->setValue(-5);
    EXPECT_EQ(visibleBrightnessPicture(w), 0);
    EXPECT_EQ(w.imgBrightness[0]->toolTip(), QStringLiteral("-5"));
    EXPECT_EQ(w.imgBrightness[5]->toolTip(), QString());
    EXPECT_EQ(w.sliBrightness->toolTip(), QStringLiteral("-5"));
    w.cmdSaveSettings->click();
    EXPECT_EQ(option("Brtness"), registry::Value::fromDword(0xFFFFFFFB));
    EXPECT_EQ(option("RAM"), registry::Value::fromDword(1));

    frmVirtualE again;
    again.load();
    EXPECT_EQ(again.sliBrightness->value(), -5);
    EXPECT_EQ(visibleBrightnessPicture(again), 0);
}

TEST_F(VirtualEForm, RunAsksOnlyWhenTheControlsDifferFromTheSavedOptions)
{
    virtuale::Options stored;
    stored.RAM = true;
    ASSERT_EQ(virtuale::SaveOptions(stored), QString());
    frmVirtualE w;
    w.load();

    // A checked box saved as True counts as unchanged.
    w.cmdRunVirtualE->click();
    EXPECT_TRUE(messageBoxes().calls.isEmpty());
    EXPECT_EQ(processStarts().launches.size(), 1);

    w.txtFrameSkip->setText(QStringLiteral("7"));
    messageBoxes().answerNext(msgbox::vbCancel);
    w.cmdRunVirtualE->click();
    ASSERT_EQ(messageBoxes().calls.size(), 1);
    const msgbox::Call question = messageBoxes().last();
    EXPECT_EQ(question.prompt,
              QStringLiteral("Settings have changed since last save.\rDo you wish to save & use current settings?"));
    EXPECT_EQ(question.title, QStringLiteral("Save setting changes"));
    EXPECT_EQ(question.style, msgbox::vbOKCancel | msgbox::vbQuestion | msgbox::vbDefaultButton2);
    EXPECT_EQ(processStarts().launches.size(), 2); // started with the stored options
    EXPECT_EQ(option("Skip"), registry::Value::fromDword(1));
    EXPECT_EQ(w.txtFrameSkip->text(), QStringLiteral("7"));

    processStarts().onLaunch = [](const process::Launch &) {
        EXPECT_EQ(option("Skip"), registry::Value::fromDword(7)) << "written before the start";
    };
    messageBoxes().answerNext(msgbox::vbOK);
    w.cmdRunVirtualE->click();
    EXPECT_EQ(processStarts().launches.size(), 3);
    EXPECT_EQ(w.Saved.Skip, 7);

    w.cmdRunVirtualE->click(); // saved now: no question
    EXPECT_EQ(messageBoxes().calls.size(), 2);
}

TEST_F(VirtualEForm, NumberBoxesHoldOneTo32767)
{
    struct Case {
        const char *typed;
        const char *shown;
        int bar;
    };
    const Case cases[] = {
        {"0", "1", 1},         {"-5", "1", 1},   {"", "1", 1},       {"40000", "32767", 32767},
        {"12abc", "12", 12},   {"3.7", "4", 4},  {"250", "250", 250}, {" 9", "9", 9},
    };
    frmVirtualE w;
    w.load();
    for (const Case &c : cases) {
        w.txtFps->setText(QStringLiteral("100"));
        w.txtFps->setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(w.txtFps->text(), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(w.vscFps->value(), c.bar) << c.typed;
    }
    w.vscFrameSkip->setValue(32767);
    EXPECT_EQ(w.txtFrameSkip->text(), QStringLiteral("32767"));
}

TEST_F(VirtualEForm, RevertsChangeOnlyTheControls)
{
    virtuale::Options stored;
    stored.Style = 2;
    stored.Brtness = 3;
    ASSERT_EQ(virtuale::SaveOptions(stored), QString());
    frmVirtualE w;
    w.load();

    messageBoxes().answerNext(msgbox::vbYes);
    w.cmdRevertDefault->click();
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Revert to default"));
    EXPECT_EQ(chosen(w.optStyle), 1);
    EXPECT_EQ(w.sliBrightness->value(), 0);
    EXPECT_EQ(w.Saved, stored);

    messageBoxes().answerNext(msgbox::vbNo);
    w.cmdRevertSettings->click();
    EXPECT_EQ(chosen(w.optStyle), 1);
    messageBoxes().answerNext(msgbox::vbYes);
    w.cmdRevertSettings->click();
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Revert to saved"));
    EXPECT_EQ(chosen(w.optStyle), 2);
    EXPECT_EQ(visibleBrightnessPicture(w), 8);

    messageBoxes().answerNext(msgbox::vbYes);
    w.cmdRevertDefault->click();
    w.mnuFileBack->trigger();
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_EQ(virtuale::ReadOptions(), stored);
    EXPECT_TRUE(processStarts().launches.isEmpty());
}

TEST_F(VirtualEForm, ARegistryThatCannotBeWrittenIsReportedAndNothingStarts)
{
    frmVirtualE w;
    w.load();
    keystoretest::makeStoreUnwritable();
    w.chkEnableSound->setChecked(true);
    messageBoxes().answerNext(msgbox::vbOK);
    w.cmdRunVirtualE->click();
    ASSERT_EQ(messageBoxes().calls.size(), 2);
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Settings not saved"));
    EXPECT_TRUE(messageBoxes().last().prompt.endsWith(QStringLiteral("\rThe Virtual-E settings were not saved.")));
    EXPECT_TRUE(processStarts().launches.isEmpty());
    EXPECT_FALSE(w.isUnloaded());
    EXPECT_TRUE(w.chkEnableSound->isChecked());
}

TEST_F(VirtualEForm, KeyConfigurationAndHelpOpenForVirtualE)
{
    QString dialogCaption, helpCaption, helpText;
    testsupport::modalWindows().on<frmControlConfig>([&](frmControlConfig &d) { dialogCaption = d.windowTitle(); });
    testsupport::modalWindows().on<frmHelp>([&](frmHelp &h) {
        helpCaption = h.windowTitle();
        helpText = h.txtHelp->toPlainText();
    });
    frmVirtualE w;
    w.load();
    w.cmdControlConfig->click();
    EXPECT_EQ(dialogCaption, QStringLiteral("Virtual-E Control Configuration..."));
    EXPECT_TRUE(mainwindow::Tag().isEmpty());
    w.mnuHelpHelp->trigger();
    EXPECT_EQ(helpCaption, QStringLiteral("Virtual-E Frontend Help"));
    EXPECT_TRUE(helpText.startsWith(QStringLiteral("Virtual-E Frontend:\n===================\nUse this to run")));
    EXPECT_TRUE(helpText.contains(QStringLiteral("The brightness can only be set to a maximum of 5.")));
    EXPECT_TRUE(mainwindow::Tag().isEmpty());
}

// The emulator reads wine's registry: a start through wine hands both of
// Virtual-E's keys over first.
TEST_F(VirtualEForm, TheStubStartsDirectlyAndThroughWineAfterTheRegistryHandOver)
{
    ASSERT_EQ(virtuale::SaveKeypad(controllerkeys::DefaultKeySet()), QString());
    testsupport::allowRealStarts();
    {
        frmVirtualE w;
        w.load();
        w.cmdRunVirtualE->click();
    }
    auto record = testsupport::waitForStubRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->program, QStringLiteral("VirtualE.exe"));
    EXPECT_EQ(record->cwd, QDir::currentPath());
    EXPECT_TRUE(record->arguments.isEmpty());
    EXPECT_FALSE(testsupport::importedRegistryFile()) << "a native program reads our registry";

    makeTheEmulatorAWindowsProgram();
    testsupport::PathForTest path(testsupport::PathForTest::WithFakeWine);
    {
        frmVirtualE w;
        w.load();
        w.sliBrightness->setValue(-5);
        w.cmdSaveSettings->click();
        w.cmdRunVirtualE->click();
    }
    const std::optional<QString> handedOver = testsupport::importedRegistryFile();
    ASSERT_TRUE(handedOver);
    EXPECT_TRUE(handedOver->startsWith(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n")));
    EXPECT_TRUE(handedOver->contains(QLatin1String("[HKEY_CURRENT_USER\\Software\\Virtual-E\\VIRTUALE\\Options]\r\n"
                                                   "\"Display\"=dword:00000002\r\n\"CPU\"=dword:00000002\r\n"
                                                   "\"Brtness\"=dword:fffffffb\r\n")));
    EXPECT_TRUE(handedOver->contains(QLatin1String("[HKEY_CURRENT_USER\\Software\\Virtual-E\\VIRTUALE\\Keypad]\r\n"
                                                   "\"A Button\"=dword:0000004d\r\n")));
    record = testsupport::waitForStubRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->program, QStringLiteral("wine"));
    EXPECT_EQ(record->arguments, QStringList(process::WinePath(emulator + QStringLiteral("/VIRTUALE.EXE"))));
    EXPECT_TRUE(messageBoxes().calls.isEmpty());
}

// While wine takes the settings, the window takes nothing the user does:
// Run is disabled, a click on it and the window manager's request to close
// the window are dropped (not made once the wait is over), and a window
// that closes itself meanwhile (a tool tip) cancels nothing.
TEST_F(VirtualEForm, NothingDoneDuringTheHandOverIsMadeAfterIt)
{
    makeTheEmulatorAWindowsProgram();
    testsupport::PathForTest path(testsupport::PathForTest::WithFakeWine);
    frmVirtualE w;
    w.load();
    w.show();
    QLabel tip(QStringLiteral("a tool tip"), nullptr, Qt::ToolTip);
    tip.show();
    std::optional<bool> runEnabledMeanwhile;
    QString modalMeanwhile;
    QTimer::singleShot(0, [&] {
        runEnabledMeanwhile = w.cmdRunVirtualE->isEnabled();
        if (const QWidget *modal = QApplication::activeModalWidget())
            modalMeanwhile = modal->findChild<QLabel *>()->text();
        testsupport::clickWithMouse(*w.cmdRunVirtualE);
        testsupport::requestClose(w);
        tip.close();
    });
    qputenv("ZANDREL_STUB_REGEDIT_WAIT_MS", "500");
    w.cmdRunVirtualE->click();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    qunsetenv("ZANDREL_STUB_REGEDIT_WAIT_MS");

    EXPECT_EQ(runEnabledMeanwhile, false);
    EXPECT_EQ(modalMeanwhile, QStringLiteral("Handing the settings to wine\u2026"));
    EXPECT_EQ(processStarts().launches.size(), 1);
    EXPECT_TRUE(messageBoxes().calls.isEmpty());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.cmdRunVirtualE->isEnabled());
    EXPECT_FALSE(tip.isVisible());
}

// Run pressed with the keyboard: a quick second Space or Enter, meant for
// Run, lands in the progress window that the first one opened. It presses
// nothing there, and the emulator starts.
TEST_F(VirtualEForm, AQuickSecondKeyMeantForRunDoesNotCancelTheStart)
{
    makeTheEmulatorAWindowsProgram();
    testsupport::PathForTest path(testsupport::PathForTest::WithFakeWine);
    frmVirtualE w;
    w.load();
    w.show();
    qputenv("ZANDREL_STUB_REGEDIT_WAIT_MS", "400");
    for (const int second : {Qt::Key_Space, Qt::Key_Return}) {
        SCOPED_TRACE(second);
        processStarts().launches.clear();
        w.cmdRunVirtualE->setFocus();
        QString landedIn;
        QTimer::singleShot(150, [&] {
            if (QWidget *progress = QApplication::activeModalWidget()) {
                landedIn = progress->findChild<QLabel *>()->text();
                testsupport::typeKey(*progress, second);
            }
        });
        testsupport::typeKey(w, Qt::Key_Space);
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();

        EXPECT_EQ(landedIn, QStringLiteral("Handing the settings to wine\u2026"));
        EXPECT_EQ(processStarts().launches.size(), 1);
        EXPECT_TRUE(messageBoxes().calls.isEmpty());
    }
    qunsetenv("ZANDREL_STUB_REGEDIT_WAIT_MS");
}
