#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QPushButton>

#include "MainWindowStart.h"
#include "PickerEntries.h"
#include "ProcessSupport.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmEmus.h"
#include "frmMain.h"
#include "frmRealityBoy.h"
#include "frmUtils.h"
#include "MsgBox.h"

using testsupport::messageBoxes;
using testsupport::processStarts;

namespace {

using msgbox::CR;

QString folderWithPrograms(const QString &name, const QStringList &programs)
{
    const QString folder = QDir(testsupport::tempDir()).filePath(name);
    QDir().mkpath(folder);
    for (const QString &program : programs)
        testsupport::writeWindowsProgram(QDir(folder).filePath(program));
    return folder;
}

} // namespace

// The chooser opens from the button; the front-end picked in it closes back
// to the main window.
TEST_F(MainWindowStart, TheEmulatorsButtonOpensTheChooserAndItsPickTheFrontEnd)
{
    installLibraryAndFont();
    const QString folder = QDir(testsupport::tempDir()).filePath(QStringLiteral("rboy"));
    testsupport::writeFile(QStringLiteral("rboy/RBOY.EXE"), QByteArray());
    settings::Save(QStringLiteral("Reality Boy Enabled"), QStringLiteral("True"));
    settings::Save(QStringLiteral("Reality Boy Directory"), folder);
    QWidget *frontEndOpener = nullptr;
    testsupport::modalWindows().on<frmEmus>([](frmEmus &chooser) { chooser.fraRealityBoy_Click(); });
    testsupport::modalWindows().on<frmRealityBoy>([&](frmRealityBoy &frontEnd) { frontEndOpener = frontEnd.parentWidget(); });
    frmMain w;
    w.load();
    ASSERT_TRUE(w.cmdEmus->isEnabled());
    w.cmdEmus->click();
    EXPECT_EQ(testsupport::modalWindows().shown, QStringList({QStringLiteral("frmEmus"), QStringLiteral("frmRealityBoy")}));
    EXPECT_EQ(frontEndOpener, &w);
}

TEST_F(MainWindowStart, TheUtilitiesButtonOpensTheLauncherOnTheStoredSettings)
{
    installLibraryAndFont();
    settings::Save(QStringLiteral("VB Dev Kit Enabled"), QStringLiteral("True"));
    bool devKitOffered = false;
    testsupport::modalWindows().on<frmUtils>([&](frmUtils &launcher) { devKitOffered = launcher.fraVBDK->isEnabled(); });
    frmMain w;
    w.load();
    ASSERT_TRUE(w.cmdUtils->isEnabled());
    w.cmdUtils->click();
    EXPECT_EQ(testsupport::modalWindows().shown, QStringList({QStringLiteral("frmUtils")}));
    EXPECT_TRUE(devKitOffered);
}

// Each item of the Utilities menu does what the launcher's pick of its tool
// does, from the folder the main window holds, without the launcher.
TEST_F(MainWindowStart, TheUtilitiesMenuItemsPickTheirToolsAsTheLauncherDoes)
{
    installLibraryAndFont();
    testsupport::PathForTest path(testsupport::PathForTest::WithFakeWine);
    const QString kit = folderWithPrograms(QStringLiteral("kit"), {QStringLiteral("Vbdk.exe"), QStringLiteral("Vbdk03.exe")});
    const QString compiler = folderWithPrograms(QStringLiteral("vecc"), {QStringLiteral("VECC.EXE")});
    const QString noIde = folderWithPrograms(QStringLiteral("ide"), {});
    for (const char *tool : {"VB Dev Kit", "V-E C Compiler", "V-Environment"})
        settings::Save(QLatin1String(tool) + QStringLiteral(" Enabled"), QStringLiteral("True"));
    settings::Save(QStringLiteral("VB Dev Kit Directory"), kit);
    settings::Save(QStringLiteral("V-E C Compiler Directory"), compiler);
    settings::Save(QStringLiteral("V-Environment Directory"), noIde);
    frmMain w;
    w.load();
    messageBoxes().calls.clear(); // the notice at start

    w.mnuFileVBDevKit->trigger();
    ASSERT_EQ(processStarts().launches.size(), 1);
    EXPECT_EQ(processStarts().launches[0].request.program, kit + QStringLiteral("/Vbdk03.exe"));
    EXPECT_EQ(processStarts().launches[0].request.workingFolder, kit);

    w.mnuFileVECC->trigger();
    EXPECT_EQ(messageBoxes().last().title, QStringLiteral("Out of order"));

    w.mnuFileVirtualEnvironment->trigger();
    EXPECT_EQ(messageBoxes().last().prompt, QStringLiteral("Can't find VIDE.EXE in directory:") + CR + noIde);
    EXPECT_EQ(messageBoxes().calls.size(), 2);
    EXPECT_EQ(processStarts().launches.size(), 1);
    EXPECT_TRUE(testsupport::modalWindows().shown.isEmpty());
}
