#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>

#include "MainWindowStart.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmOptions.h"

TEST_F(MainWindowStart, TheOptionsAndAboutEntriesAreAvailable)
{
    installLibraryAndFont();
    frmMain w;
    w.load();
    EXPECT_TRUE(w.mnuFileOptions->isEnabled());
    EXPECT_TRUE(w.cmdOptions->isEnabled());
    EXPECT_TRUE(w.mnuHelpAbout->isEnabled());

    w.mnuHelpAbout->trigger();
    w.cmdOptions->click();
    EXPECT_EQ(testsupport::modalWindows().shown, (QStringList{QStringLiteral("frmAbout"), QStringLiteral("frmOptions")}));
}

TEST_F(MainWindowStart, AfterTheOptionsDialogTheMainWindowReadsTheStoreAgain)
{
    installLibraryAndFont();
    frmMain w;
    w.load();
    ASSERT_FALSE(w.mnuFileEmus->isEnabled());

    const QString rboy = testsupport::tempDir() + QStringLiteral("/rboy");
    QDir().mkpath(rboy);
    touch(rboy + QStringLiteral("/RBOY.EXE"));
    testsupport::modalWindows().on<frmOptions>([&](frmOptions &options) {
        settings::Save(QStringLiteral("Reality Boy Directory"), rboy); // as if chosen before this opening
        options.chkRboyEnabled->setChecked(true);
        options.lblRboyDir->setCaption(rboy);
        testsupport::messageBoxes().answerNext(msgbox::vbYes); // no ROMs in the base folder: go on
        options.cmdApply->click();
    });
    w.mnuFileOptions->trigger();

    EXPECT_TRUE(w.settingsRecord().RealityBoyEnabled);
    EXPECT_EQ(w.settingsRecord().RealityBoyDirectory, rboy);
    EXPECT_TRUE(w.mnuFileEmus->isEnabled());
}

TEST_F(MainWindowStart, ACancelledOptionsDialogStillLeavesTheMainWindowWithTheStore)
{
    installLibraryAndFont();
    frmMain w;
    w.load();
    testsupport::modalWindows().on<frmOptions>([](frmOptions &options) {
        settings::Save(QStringLiteral("Recent ROMs number"), QStringLiteral("9")); // another writer meanwhile
        options.cmdCancel->click();
    });
    w.cmdOptions->click();
    EXPECT_EQ(w.settingsRecord().RecentRomsNumber, 9);
    EXPECT_EQ(w.PowerState, 0);
}
