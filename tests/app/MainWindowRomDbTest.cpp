#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include "MainWindowState.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmMain.h"
#include "frmVbRomDatabase.h"

// The main window's menu item and button both show the ROM database window
// modally, on the stored base directory.
TEST(MainWindowRomDb, MenuItemAndButtonOpenTheRomDatabaseWindow)
{
    mainwindow::Tag().clear();
    testsupport::writeFile(QStringLiteral("roms/a.vb"), QByteArray(600, 'a'));
    settings::Save(QStringLiteral("Base Directory"), testsupport::tempDir() + QStringLiteral("/roms"));
    QStringList listed;
    testsupport::modalWindows().on<frmVbRomDatabase>(
        [&](frmVbRomDatabase &w) { listed << w.windowTitle() + ": " + w.lblRomDir->text(); });
    frmMain main;
    EXPECT_TRUE(main.mnuFileDatabase->isEnabled());
    EXPECT_TRUE(main.cmdRomDatabase->isEnabled());

    main.mnuFileDatabase->trigger();
    main.cmdRomDatabase->click();
    const QString shown = QStringLiteral("VB ROM Database: ") + testsupport::tempDir() + QStringLiteral("/roms/*.vb");
    EXPECT_EQ(listed, QStringList({shown, shown}));
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}
