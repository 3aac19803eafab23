#include <gtest/gtest.h>

#include <QApplication>

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <memory>

#include "ImageControl.h"
#include "PickerEntries.h"
#include "ProcessSupport.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmUtils.h"
#include "MsgBox.h"

using testsupport::messageBoxes;
using testsupport::processStarts;

namespace {

using msgbox::CR;

struct Entry {
    picker::PickFrame *frame;
    controls::ImageControl *image;
    controls::ImageControl *imageDisabled;
};

class Launcher : public ::testing::Test {
protected:
    std::unique_ptr<frmUtils> w;
    QString ourFolder = QDir::currentPath();

    // A folder of the test's own holding the given Windows programs.
    static QString toolFolder(const QString &name, const QStringList &programs = {})
    {
        const QString folder = QDir(testsupport::tempDir()).filePath(name);
        QDir().mkpath(folder);
        for (const QString &program : programs)
            testsupport::writeWindowsProgram(QDir(folder).filePath(program));
        return folder;
    }
    static void setTool(const char *name, bool enabled, const QString &folder = QString())
    {
        settings::Save(QLatin1String(name) + QStringLiteral(" Enabled"), enabled ? QStringLiteral("True")
                                                                                 : QStringLiteral("False"));
        if (!folder.isEmpty())
            settings::Save(QLatin1String(name) + QStringLiteral(" Directory"), folder);
    }
    void openLauncher()
    {
        w = std::make_unique<frmUtils>();
        w->load();
        w->show();
    }
    Entry vecc() const { return {w->fraVECC, w->imgVECC, w->imgVECCDisabled}; }
    Entry environment() const { return {w->fraEnvironment, w->imgEnvironment, w->imgEnvironmentDisabled}; }
    Entry vbdk() const { return {w->fraVBDK, w->imgVBDK, w->imgVBDKDisabled}; }

    // A click on the frame beside its icon, as the user makes it.
    static void clickFrame(picker::PickFrame *frame) { QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(10, 30)); }
};

} // namespace

TEST_F(Launcher, EntriesFollowTheirEnabledSettingsAndDisabledOnesIgnoreClicks)
{
    struct Case {
        bool vecc, environment, vbdk;
    };
    for (const Case c : {Case{false, false, false}, Case{true, false, true}, Case{false, true, false}}) {
        setTool("V-E C Compiler", c.vecc, toolFolder(QStringLiteral("vecc"), {QStringLiteral("VECC.EXE")}));
        setTool("V-Environment", c.environment, toolFolder(QStringLiteral("vide"), {QStringLiteral("VIDE.EXE")}));
        setTool("VB Dev Kit", c.vbdk, toolFolder(QStringLiteral("vbdk"), {QStringLiteral("Vbdk.exe")}));
        openLauncher();
        testsupport::saveScreenshot(*w, QStringLiteral("frmUtils-%1%2%3").arg(c.vecc).arg(c.environment).arg(c.vbdk));
        const std::pair<Entry, bool> entries[] = {{vecc(), c.vecc}, {environment(), c.environment}, {vbdk(), c.vbdk}};
        for (const auto &[entry, enabled] : entries) {
            SCOPED_TRACE(entry.frame->title().toStdString() + (enabled ? " enabled" : " disabled"));
            EXPECT_EQ(entry.frame->isEnabled(), enabled);
            EXPECT_EQ(entry.image->isEnabled(), enabled);
            EXPECT_FALSE(entry.imageDisabled->isVisible());
            EXPECT_EQ(entry.image->picture() == entry.imageDisabled->picture(), !enabled);
            if (enabled)
                continue;
            clickFrame(entry.frame);
            QTest::mouseClick(entry.image, Qt::LeftButton);
        }
        EXPECT_FALSE(w->isUnloaded());
        EXPECT_TRUE(messageBoxes().calls.isEmpty());
        EXPECT_TRUE(processStarts().launches.isEmpty());
    }
}

// The highest-numbered installer there is starts, from its folder, as
// exactly its path (blanks and all, unquoted); the launcher is gone.
TEST_F(Launcher, TheNewestDevKitInstallerStartsInItsFolder)
{
    testsupport::PathForTest path(testsupport::PathForTest::WithFakeWine);
    struct Case {
        QStringList files;
        const char *started;
    };
    const Case cases[] = {
        {{QStringLiteral("Vbdk.exe"), QStringLiteral("Vbdk02.exe"), QStringLiteral("Vbdk05.exe")}, "Vbdk05.exe"},
        {{QStringLiteral("Vbdk.exe")}, "Vbdk.exe"},
        {{QStringLiteral("VBDK00.EXE"), QStringLiteral("vbdk09.exe"), QStringLiteral("Vbdk10.exe")}, "Vbdk09.exe"},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.started);
        const QString folder = toolFolder(QStringLiteral("VB Dev Kit %1").arg(n++), c.files);
        setTool("VB Dev Kit", true, folder);
        processStarts().launches.clear();
        openLauncher();
        clickFrame(w->fraVBDK);

        ASSERT_EQ(processStarts().launches.size(), 1);
        const process::StartRequest &request = processStarts().launches[0].request;
        EXPECT_EQ(process::CommandLine(request), folder + QLatin1Char('/') + QLatin1String(c.started));
        EXPECT_EQ(request.workingFolder, folder);
        EXPECT_EQ(request.windowStyle, process::vbNormalFocus);
        EXPECT_TRUE(w->isUnloaded());
    }
    EXPECT_TRUE(messageBoxes().calls.isEmpty());
    EXPECT_EQ(QDir::currentPath(), ourFolder);
}

TEST_F(Launcher, AMissingToolIsNamedWithItsFolderAndTheLauncherStaysOpen)
{
    const QString noCompiler = toolFolder(QStringLiteral("compiler"), {QStringLiteral("VECC.COM")});
    const QString ideAsFolder = toolFolder(QStringLiteral("ide"));
    QDir().mkpath(ideAsFolder + QStringLiteral("/VIDE.EXE")); // a folder is no program
    const QString gone = testsupport::tempDir() + QStringLiteral("/no such folder");
    const QString noInstaller = toolFolder(QStringLiteral("kit"), {QStringLiteral("Vbdk10.exe"), QStringLiteral("Vbdk0.exe")});
    struct Case {
        const char *tool;
        QString folder;
        void (frmUtils::*pick)();
        const char *message;
    };
    const Case cases[] = {
        {"V-E C Compiler", noCompiler, &frmUtils::fraVECC_Click, "Can't find VECC.EXE in directory:"},
        {"V-Environment", ideAsFolder, &frmUtils::imgEnvironment_Click, "Can't find VIDE.EXE in directory:"},
        {"V-Environment", gone, &frmUtils::fraEnvironment_Click, "Can't find VIDE.EXE in directory:"},
        {"VB Dev Kit", noInstaller, &frmUtils::imgVBDK_Click, "Can't find Vbdk.exe or Vbdk0?.exe in directory:"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        setTool(c.tool, true, c.folder);
        openLauncher();
        (w.get()->*c.pick)();
        ASSERT_EQ(messageBoxes().calls.size(), 1);
        EXPECT_EQ(messageBoxes().last().prompt, QLatin1String(c.message) + CR + c.folder);
        EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Utility not found"));
        EXPECT_EQ(messageBoxes().last().style, msgbox::vbExclamation);
        EXPECT_FALSE(w->isUnloaded());
        messageBoxes().calls.clear();
    }
    EXPECT_TRUE(processStarts().launches.isEmpty());
    EXPECT_EQ(QDir::currentPath(), ourFolder);
}

// The compiler is only looked for: once found, the launcher closes and then
// says that it is unavailable; nothing starts.
TEST_F(Launcher, AFoundCompilerClosesTheLauncherThenSaysItIsUnavailable)
{
    setTool("V-E C Compiler", true, toolFolder(QStringLiteral("vecc"), {QStringLiteral("vecc.exe")}));
    openLauncher();
    bool closedBeforeTheNotice = false;
    msgbox::SetResponder([&](const msgbox::Call &call) {
        messageBoxes().calls << call;
        closedBeforeTheNotice = w->isUnloaded();
        return int(msgbox::vbOK);
    });
    QTest::mouseClick(w->imgVECC, Qt::LeftButton);

    ASSERT_EQ(messageBoxes().calls.size(), 1);
    EXPECT_EQ(messageBoxes().last().prompt, QStringLiteral("Currently unavailable in beta version."));
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Out of order"));
    EXPECT_EQ(messageBoxes().last().style, msgbox::vbExclamation);
    EXPECT_TRUE(closedBeforeTheNotice);
    EXPECT_TRUE(processStarts().launches.isEmpty());
}

// A tool that is there but can't be started is reported, and the launcher
// stays open for another try.
TEST_F(Launcher, AToolThatFailsToStartLeavesTheLauncherOpen)
{
    const QString dosTool = toolFolder(QStringLiteral("dos"));
    testsupport::writeDosProgram(dosTool + QStringLiteral("/VIDE.EXE"));
    setTool("V-Environment", true, dosTool);
    openLauncher();
    w->fraEnvironment_Click();
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Unable to start program"));
    EXPECT_TRUE(processStarts().launches.isEmpty());
    EXPECT_FALSE(w->isUnloaded());

    testsupport::PathForTest path(testsupport::PathForTest::WithFakeWine);
    setTool("VB Dev Kit", true, toolFolder(QStringLiteral("kit"), {QStringLiteral("Vbdk01.exe")}));
    processStarts().failNext(QStringLiteral("No such file or directory"));
    openLauncher();
    w->fraVBDK_Click();
    EXPECT_EQ(messageBoxes().calls.size(), 2);
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Unable to start program"));
    EXPECT_FALSE(w->isUnloaded());
}

// A real start: the tool runs with its folder as its working folder and no
// arguments, while the program's own current folder stays where it was.
TEST_F(Launcher, VEnvironmentRunsInItsOwnFolder)
{
    const QString folder = toolFolder(QStringLiteral("Tools/V IDE"));
    testsupport::installStub(folder, QStringLiteral("vide.exe"));
    setTool("V-Environment", true, folder);
    testsupport::allowRealStarts();
    openLauncher();
    clickFrame(w->fraEnvironment);

    const auto record = testsupport::waitForStubRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->cwd, QFileInfo(folder).canonicalFilePath());
    EXPECT_TRUE(record->arguments.isEmpty());
    EXPECT_TRUE(w->isUnloaded());
    EXPECT_EQ(QDir::currentPath(), ourFolder);
}

// The development kit comes first, then the environment, then the compiler.
TEST_F(Launcher, TheFocusStartsOnTheDevKitAndTabFollowsTheFrames)
{
    for (const char *tool : {"V-E C Compiler", "V-Environment", "VB Dev Kit"})
        setTool(tool, true, testsupport::tempDir());
    openLauncher();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    EXPECT_EQ(QApplication::focusWidget(), w->fraVBDK);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w->fraEnvironment);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w->fraVECC);
}

TEST_F(Launcher, TheKeyboardPicksAFrameAndEscapeCloses)
{
    testsupport::PathForTest path(testsupport::PathForTest::WithFakeWine);
    setTool("VB Dev Kit", true, toolFolder(QStringLiteral("kit"), {QStringLiteral("Vbdk.exe")}));
    openLauncher();
    w->fraVBDK->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w->fraVBDK, Qt::Key_Space);
    EXPECT_EQ(processStarts().launches.size(), 1);

    openLauncher();
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_TRUE(w->isUnloaded());
    EXPECT_TRUE(messageBoxes().calls.isEmpty());
}
