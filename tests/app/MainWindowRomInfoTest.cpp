#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>

#include "MainWindowState.h"
#include "TestSupport.h"
#include "frmMain.h"
#include "frmRomInfo.h"

// The main window's menu item and button both show the ROM information
// window modally.
TEST(MainWindowRomInfo, MenuItemAndButtonOpenTheRomInfoWindow)
{
    mainwindow::Tag().clear();
    QString caption;
    testsupport::modalWindows().on<frmRomInfo>([&](frmRomInfo &w) { caption = w.windowTitle(); });
    frmMain main;
    EXPECT_TRUE(main.mnuFileRom->isEnabled());
    EXPECT_TRUE(main.cmdRomInfo->isEnabled());

    main.mnuFileRom->trigger();
    EXPECT_EQ(caption, QStringLiteral("ROM Information - [No ROM Loaded]"));
    main.cmdRomInfo->click();
    EXPECT_EQ(testsupport::modalWindows().shown, QStringList({QStringLiteral("frmRomInfo"), QStringLiteral("frmRomInfo")}));
}
