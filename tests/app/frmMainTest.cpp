#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QAction>
#include <QMenu>
#include <QPushButton>

#include "Fonts.h"
#include "MainWindowStart.h"
#include "Registry.h"
#include "SaveFile.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmMain.h"

#include <sys/stat.h>

namespace {

const QString kNoticeTitle = QStringLiteral("Zandrel Utilities beta version 0.9");

} // namespace

TEST_F(MainWindowStart, EndsWithoutTheLibraryAndLeavesTheStoreUntouched)
{
    touch(fontsDir + QStringLiteral("/MSGOKATA.TTF"));
    frmMain w;
    w.load();
    EXPECT_TRUE(w.mustEnd());
    ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
    const auto box = testsupport::messageBoxes().last();
    EXPECT_EQ(box.style, 16);
    EXPECT_EQ(box.title, QStringLiteral("Library file not found"));
    EXPECT_EQ(box.prompt, QStringLiteral("Unable to find Zandrel.dll library file.\rPlease copy Zandrel.dll to the "
                                         "directory where this program is located.\r\rZandrel Utilities will terminate now."));
    EXPECT_FALSE(QFile::exists(registry::StoreFilePath()));
}

TEST_F(MainWindowStart, EndsWithoutTheFontAndNamesTheFontsFolder)
{
    touch(windowsDir + QStringLiteral("/zandrel.DLL"));
    frmMain w;
    w.load();
    EXPECT_TRUE(w.mustEnd());
    const auto box = testsupport::messageBoxes().last();
    EXPECT_EQ(box.title, QStringLiteral("Font file not found"));
    EXPECT_EQ(box.prompt, QStringLiteral("Unable to find MSGOKATA.TTF font file.\rPlease copy MSGOKATA.TTF to the Fonts "
                                         "directory:\r")
                              + fontsDir + QStringLiteral("/\r\rZandrel Utilities will terminate now."));
    EXPECT_FALSE(QFile::exists(registry::StoreFilePath()));
}

TEST_F(MainWindowStart, TheLibraryInEitherFolderIsEnough)
{
    for (const QString &dir : {windowsDir, programDir}) {
        QDir(windowsDir).removeRecursively();
        QDir(programDir).removeRecursively();
        QDir().mkpath(dir);
        touch(dir + QStringLiteral("/Zandrel.dll"));
        touch(fontsDir + QStringLiteral("/msgokata.ttf"));
        frmMain w;
        w.load();
        EXPECT_FALSE(w.mustEnd()) << dir.toStdString();
    }
}

// An install in folders named in Latin-1: start-up finds the library and
// registers the katakana font by the folders' real bytes.
TEST_F(MainWindowStart, AnInstallInFoldersNamedInLatin1StartsWithItsFont)
{
    const QByteArray font = testsupport::readFile(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts/MSGOKATA.TTF"));
    ASSERT_FALSE(font.isEmpty());
    const QString latin1Windows = paths::FolderOf(testsupport::writeFile(paths::DecodeFileName("syst\xE8me/Zandrel.dll"), ""));
    const QString latin1Fonts = paths::FolderOf(testsupport::writeFile(paths::DecodeFileName("polices\xE9/MSGOKATA.TTF"), font));
    paths::OverrideWindowsFolder(latin1Windows);
    paths::OverrideFontsFolder(latin1Fonts);
    frmMain w;
    w.load();
    EXPECT_FALSE(w.mustEnd());
    EXPECT_NE(fonts::KatakanaFont().family(), QFont().family()) << "the font was not registered";
}

TEST_F(MainWindowStart, FirstStartStoresEveryKeyAndShowsTheNotice)
{
    installLibraryAndFont();
    frmMain w;
    w.load();
    ASSERT_FALSE(w.mustEnd());
    EXPECT_EQ(registry::ValueNames(registry::Hive::CurrentUser,
                                   QStringLiteral("Software\\VB and VBA Program Settings\\Zandrel Utils\\Settings"))
                  .size(),
              46);
    ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
    const auto notice = testsupport::messageBoxes().last();
    EXPECT_EQ(notice.style, 48);
    EXPECT_EQ(notice.title, kNoticeTitle);
    const QStringList lines = notice.prompt.split(QLatin1Char('\r'));
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], QStringLiteral("Thankyou for beta testing Zandrel Utilities."));
    EXPECT_EQ(lines[2], QStringLiteral("C compiler frontend are not yet complete."));
    EXPECT_TRUE(lines[3].isEmpty());
    EXPECT_TRUE(lines[7].startsWith(QString(18, QLatin1Char(' '))));

    // Nothing is enabled on a first start.
    EXPECT_FALSE(w.mnuFileEmus->isEnabled());
    EXPECT_FALSE(w.cmdEmus->isEnabled());
    EXPECT_FALSE(w.mnuFileUtils->isEnabled());
    EXPECT_FALSE(w.cmdUtils->isEnabled());
}

TEST_F(MainWindowStart, AStoreThatCannotBeReadOrWrittenIsReportedOnceAndLeftAsItWas)
{
    SKIP_WHERE_NO_ORDINARY_USER_CAN_REACH_THE_TEST();
    struct Case {
        const char *what;
        bool folder; // the folder read-only, or the store write-only
        QString expected;
    };
    const Case cases[] = {
        {"write-only store", false, QStringLiteral("could not be read: ") + savefile::ErrorText(EACCES)},
        {"read-only folder", true, QStringLiteral("can't be written: ") + savefile::ErrorText(EACCES)},
    };
    installLibraryAndFont();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = QFileInfo(registry::StoreFilePath()).absolutePath();
        QDir(folder).removeRecursively();
        ASSERT_TRUE(settings::Save(QStringLiteral("Base Directory"), QStringLiteral("/my/roms")));
        const QByteArray before = testsupport::readFile(registry::StoreFilePath());
        testsupport::messageBoxes().calls.clear();
        const QString locked = c.folder ? folder : registry::StoreFilePath();
        ::chmod(QFile::encodeName(locked).constData(), c.folder ? 0555 : 0200);
        {
            testsupport::OrdinaryUser user;
            registry::Reload();
            frmMain w;
            w.load();
            ASSERT_FALSE(w.mustEnd());
        }
        ::chmod(QFile::encodeName(locked).constData(), c.folder ? 0755 : 0600);
        const QList<msgbox::Call> boxes = testsupport::messageBoxes().calls;
        ASSERT_EQ(boxes.size(), 2);
        EXPECT_EQ(boxes[0].title, QStringLiteral("Settings"));
        EXPECT_TRUE(boxes[0].prompt.contains(c.expected)) << boxes[0].prompt.toStdString();
        EXPECT_EQ(boxes[1].title, kNoticeTitle);
        EXPECT_EQ(testsupport::readFile(registry::StoreFilePath()), before);
    }
}

TEST_F(MainWindowStart, StartUpClearsWhatKilledSavesLeft)
{
    installLibraryAndFont();
    const QString leftover =
        testsupport::writeFile(QStringLiteral("config/zandrel/registry.reg.zandrel-save-q7Kd0P"), "REGEDIT4\n");
    const QString usersCopy = testsupport::writeFile(QStringLiteral("config/zandrel/registry.reg.bkp001"), "REGEDIT4\n");
    frmMain w;
    w.load();
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(QFile::exists(usersCopy));
    EXPECT_TRUE(QFile::exists(registry::StoreFilePath()));
}

TEST_F(MainWindowStart, StoredBooleansAreRewrittenAndEnableTheirEntries)
{
    installLibraryAndFont();
    settings::Save(QStringLiteral("VB Main Menu Theme"), QStringLiteral("true"));
    settings::Save(QStringLiteral("V-Environment Enabled"), QStringLiteral("-1"));
    frmMain w;
    w.load();
    EXPECT_EQ(settings::Get(QStringLiteral("VB Main Menu Theme")), QStringLiteral("True"));
    EXPECT_EQ(settings::Get(QStringLiteral("V-Environment Enabled")), QStringLiteral("True"));
    EXPECT_TRUE(w.mnuFileUtils->isEnabled());
    EXPECT_TRUE(w.mnuFileVirtualEnvironment->isEnabled());
    EXPECT_FALSE(w.mnuFileVECC->isEnabled());
    EXPECT_FALSE(w.mnuFileEmus->isEnabled());
}

TEST_F(MainWindowStart, ClassicWindowLaysOutItsSixButtons)
{
    installLibraryAndFont();
    frmMain w;
    w.load();
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Zandrel Utilities"));
    EXPECT_EQ(w.client()->size(), QSize(248, 88));
    EXPECT_EQ(w.cmdOptions->geometry(), QRect(168, 48, 73, 33));
    EXPECT_EQ(w.cmdEmus->text(), QStringLiteral("Vrtual Boy Emulators..."));
    EXPECT_TRUE(w.mnuFileQuit->isEnabled());
    testsupport::saveScreenshot(w, QStringLiteral("frmMain-classic"));
    w.mnuFileQuit_Click();
    EXPECT_FALSE(w.isVisible());
}
