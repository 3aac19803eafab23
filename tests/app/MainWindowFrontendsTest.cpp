#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "MainWindowStart.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmMain.h"
#include "frmRealityBoy.h"
#include "frmRedDragon.h"
#include "frmVirtualE.h"

// Each emulator's front-end opens from the main window's emulator menu
// while its "... Enabled" setting is True.
TEST_F(MainWindowStart, TheRealityBoyItemOpensItsFrontEndWhenEnabled)
{
    installLibraryAndFont();
    QString caption;
    testsupport::modalWindows().on<frmRealityBoy>([&](frmRealityBoy &w) { caption = w.windowTitle(); });
    {
        frmMain main;
        main.load();
        EXPECT_FALSE(main.mnuFileRealityBoy->isEnabled());
    }
    settings::SaveBoolean(QStringLiteral("Reality Boy Enabled"), true);
    frmMain main;
    main.load();
    EXPECT_TRUE(main.mnuFileEmus->isEnabled());
    ASSERT_TRUE(main.mnuFileRealityBoy->isEnabled());
    main.mnuFileRealityBoy->trigger();
    EXPECT_EQ(caption, QStringLiteral("Reality Boy Frontend"));
}

TEST_F(MainWindowStart, TheRedDragonItemOpensItsFrontEndWhenEnabled)
{
    installLibraryAndFont();
    QString caption;
    testsupport::modalWindows().on<frmRedDragon>([&](frmRedDragon &w) { caption = w.windowTitle(); });
    {
        frmMain main;
        main.load();
        EXPECT_FALSE(main.mnuFileRedDragon->isEnabled());
    }
    settings::SaveBoolean(QStringLiteral("Red Dragon Enabled"), true);
    frmMain main;
    main.load();
    ASSERT_TRUE(main.mnuFileRedDragon->isEnabled());
    EXPECT_FALSE(main.mnuFileRealityBoy->isEnabled());
    main.mnuFileRedDragon->trigger();
    EXPECT_EQ(caption, QStringLiteral("Red Dragon Frontend"));
}

TEST_F(MainWindowStart, TheVirtualEItemOpensItsFrontEndWhenEnabled)
{
    installLibraryAndFont();
    QString caption;
    testsupport::modalWindows().on<frmVirtualE>([&](frmVirtualE &w) { caption = w.windowTitle(); });
    {
        frmMain main;
        main.load();
        EXPECT_FALSE(main.mnuFileVirtualE->isEnabled());
    }
    settings::SaveBoolean(QStringLiteral("Virtual-E Enabled"), true);
    frmMain main;
    main.load();
    ASSERT_TRUE(main.mnuFileVirtualE->isEnabled());
    EXPECT_FALSE(main.mnuFileRedDragon->isEnabled());
    main.mnuFileVirtualE->trigger();
    EXPECT_EQ(caption, QStringLiteral("Virtual-E Frontend"));
}
