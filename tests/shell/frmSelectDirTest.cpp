#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FolderLists.h"
#include "FolderSettings.h"
#include "MainWindowState.h"
#include "Paths.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "frmSelectDir.h"

namespace {

// A tree of folders in the test's folder: roms/ with two subfolders and a
// hidden one, tools/. The current folder is put back afterwards.
class FolderPicker : public ::testing::Test {
protected:
    QString roms, tools, savedCurrent;

    void SetUp() override
    {
        savedCurrent = QDir::currentPath();
        mainwindow::Tag().clear();
        const QDir temp(testsupport::tempDir());
        roms = temp.filePath(QStringLiteral("roms"));
        tools = temp.filePath(QStringLiteral("tools"));
        for (const QString &sub : {QStringLiteral("zeta"), QStringLiteral("Alpha"), QStringLiteral(".wine")})
            QDir().mkpath(roms + QLatin1Char('/') + sub);
        QDir().mkpath(tools);
    }
    void TearDown() override
    {
        QDir::setCurrent(savedCurrent);
        mainwindow::Tag().clear();
    }

    static QStringList subfolderNames(const frmSelectDir &picker)
    {
        QStringList names;
        QTreeWidgetItem *open = picker.dirDirectory->currentItem();
        for (int i = 0; open && i < open->childCount(); ++i)
            names << open->child(i)->text(0);
        return names;
    }
};

} // namespace

TEST_F(FolderPicker, OpensInTheStoredBaseDirectoryWhenTheMailboxIsEmpty)
{
    settings::Save(QStringLiteral("Base Directory"), roms);
    frmSelectDir picker;
    picker.load();
    EXPECT_EQ(picker.dirDirectory->path(), roms);
    EXPECT_EQ(picker.lblFilename->text(), roms);
    EXPECT_EQ(QDir::currentPath(), roms);
    EXPECT_TRUE(mainwindow::Tag().isEmpty());
    EXPECT_EQ(subfolderNames(picker), (QStringList{QStringLiteral("Alpha"), QStringLiteral("zeta"), QStringLiteral(".wine")}));
}

TEST_F(FolderPicker, AStartFolderThatIsGoneOpensTheHomeFolder)
{
    struct Case {
        QString mailbox;
        QString base;
    };
    const QString gone = roms + QStringLiteral("/gone");
    for (const Case &c : {Case{gone, roms}, Case{QString(), gone}}) {
        settings::Save(QStringLiteral("Base Directory"), c.base);
        mainwindow::Tag() = c.mailbox;
        frmSelectDir picker;
        picker.load();
        EXPECT_EQ(picker.dirDirectory->path(), QDir::homePath());
        EXPECT_TRUE(mainwindow::Tag().isEmpty());
    }
}

TEST_F(FolderPicker, AStartFolderInTheMailboxWinsAndIsTakenOut)
{
    settings::Save(QStringLiteral("Base Directory"), roms);
    mainwindow::Tag() = tools;
    frmSelectDir picker;
    picker.load();
    EXPECT_EQ(picker.dirDirectory->path(), tools);
    EXPECT_EQ(picker.drvDrive->drive(), QStorageInfo(tools).rootPath());
    EXPECT_TRUE(mainwindow::Tag().isEmpty());
}

TEST_F(FolderPicker, SelectAnswersTheOpenFolderAndLeavesItCurrent)
{
    testsupport::modalWindows().on<frmSelectDir>([&](frmSelectDir &picker) {
        // Opened, then another entry only highlighted: the open folder counts.
        QTreeWidgetItem *alpha = picker.dirDirectory->currentItem()->child(0);
        emit picker.dirDirectory->itemActivated(alpha, 0);
        picker.dirDirectory->setCurrentItem(picker.dirDirectory->currentItem()->child(1));
        picker.cmdSelect->click();
    });
    EXPECT_EQ(frmSelectDir::ChooseFolder(nullptr, roms), roms + QStringLiteral("/Alpha"));
    EXPECT_EQ(QDir::currentPath(), roms + QStringLiteral("/Alpha"));
    EXPECT_TRUE(mainwindow::Tag().isEmpty());
}

TEST_F(FolderPicker, SelectRightAwayAnswersTheStartFolder)
{
    testsupport::modalWindows().on<frmSelectDir>([](frmSelectDir &picker) { picker.cmdSelect->click(); });
    EXPECT_EQ(frmSelectDir::ChooseFolder(nullptr, tools), tools);
    EXPECT_EQ(QDir::currentPath(), tools);
}

TEST_F(FolderPicker, CancelAnswersNothingWhateverWasOpen)
{
    testsupport::modalWindows().on<frmSelectDir>([&](frmSelectDir &picker) {
        picker.dirDirectory->setPath(tools);
        picker.cmdCancel->click();
    });
    EXPECT_EQ(frmSelectDir::ChooseFolder(nullptr, roms), QString());
    // Closing the window by its title bar is a cancel as well.
    testsupport::modalWindows().clear();
    EXPECT_EQ(frmSelectDir::ChooseFolder(nullptr, roms), QString());
}

// A keyboard user goes down folder by folder with Enter; only Select
// chooses, and Escape cancels.
TEST_F(FolderPicker, EnterOpensTheHighlightedFolderAndEscapeCancels)
{
    QDir().mkpath(roms + QStringLiteral("/Alpha/deep"));
    const auto enterChild = [](frmSelectDir &picker, int child) {
        QTreeWidgetItem *open = picker.dirDirectory->currentItem();
        picker.dirDirectory->setCurrentItem(open->child(child));
        testsupport::pressKey(picker.dirDirectory, Qt::Key_Return);
    };
    testsupport::modalWindows().on<frmSelectDir>([&](frmSelectDir &picker) {
        picker.show();
        picker.dirDirectory->setFocus();
        enterChild(picker, 0);
        enterChild(picker, 0);
        EXPECT_EQ(picker.dirDirectory->path(), roms + QStringLiteral("/Alpha/deep"));
        EXPECT_TRUE(picker.isVisible());
        EXPECT_TRUE(picker.Tag.isEmpty());
        EXPECT_FALSE(picker.cmdSelect->isDefault());
        testsupport::pressKey(picker.drvDrive, Qt::Key_Return);
        EXPECT_TRUE(picker.isVisible());
        testsupport::pressKey(picker.dirDirectory, Qt::Key_Escape);
        EXPECT_TRUE(picker.isUnloaded());
    });
    EXPECT_EQ(frmSelectDir::ChooseFolder(nullptr, roms), QString());
}

// A folder whose name is not UTF-8 (a Latin-1 name from an old archive) is
// listed, opened and answered by its real bytes, and a folder holding only
// such ROMs holds ROMs.
TEST_F(FolderPicker, AFolderWhoseNameIsNotUtf8IsListedOpenedAndChosen)
{
    const QByteArray folderBytes = paths::EncodeFileName(roms) + "/caf\xE9";
    ASSERT_EQ(::mkdir(folderBytes.constData(), 0755), 0);
    const int rom = ::open((folderBytes + "/jeu\xE9.vb").constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(rom, 0);
    ::close(rom);
    const QString folder = paths::DecodeFileName(folderBytes);
    EXPECT_TRUE(FolderHoldsRoms(folder));

    testsupport::modalWindows().on<frmSelectDir>([&](frmSelectDir &picker) {
        const QStringList names = subfolderNames(picker);
        ASSERT_EQ(names.size(), 4);
        EXPECT_EQ(paths::EncodeFileName(names[1]), QByteArray("caf\xE9"));
        picker.show();
        picker.dirDirectory->setCurrentItem(picker.dirDirectory->currentItem()->child(1));
        testsupport::pressKey(picker.dirDirectory, Qt::Key_Return);
        EXPECT_EQ(paths::EncodeFileName(picker.dirDirectory->path()), folderBytes);
        char current[4096];
        ASSERT_TRUE(::getcwd(current, sizeof current));
        EXPECT_EQ(QByteArray(current), folderBytes) << "the folder opened is made current";
        picker.cmdSelect->click();
    });
    EXPECT_EQ(paths::EncodeFileName(frmSelectDir::ChooseFolder(nullptr, roms)), folderBytes);
}

// A start folder named in Latin-1, from the mailbox or the stored base
// folder, is where the picker opens, not the home folder.
TEST_F(FolderPicker, AStartFolderNamedInLatin1IsWhereThePickerOpens)
{
    const QByteArray folderBytes = paths::EncodeFileName(roms) + "/caf\xE9";
    ASSERT_EQ(::mkdir(folderBytes.constData(), 0755), 0);
    const QString folder = paths::DecodeFileName(folderBytes);
    for (const bool fromMailbox : {true, false}) {
        SCOPED_TRACE(fromMailbox ? "mailbox" : "base folder");
        settings::Save(QStringLiteral("Base Directory"), fromMailbox ? tools : folder);
        mainwindow::Tag() = fromMailbox ? folder : QString();
        frmSelectDir picker;
        picker.load();
        EXPECT_EQ(paths::EncodeFileName(picker.dirDirectory->path()), folderBytes);
        EXPECT_EQ(paths::EncodeFileName(picker.lblFilename->text()), folderBytes);
    }
}

// A drive mounted on a folder named in Latin-1 is offered by its real bytes,
// and choosing it opens it.
TEST_F(FolderPicker, ADriveNamedInLatin1IsOfferedAndOpensByItsBytes)
{
    const QByteArray mountBytes = paths::EncodeFileName(testsupport::tempDir()) + "/cl\xE9";
    testsupport::SmallFileSystem drive(16, paths::DecodeFileName(mountBytes));
    if (!drive.mounted())
        GTEST_SKIP() << "mounting a drive needs root";
    frmSelectDir picker;
    picker.load();
    int offered = -1;
    for (int i = 0; i < picker.drvDrive->count(); ++i)
        if (paths::EncodeFileName(picker.drvDrive->itemData(i).toString()) == mountBytes)
            offered = i;
    ASSERT_GE(offered, 0);
    picker.drvDrive->setCurrentIndex(offered);
    EXPECT_EQ(paths::EncodeFileName(picker.dirDirectory->path()), mountBytes);
}

TEST_F(FolderPicker, ChoosingADriveOpensItsRootAndTheParentsLeadBackUp)
{
    frmSelectDir picker;
    mainwindow::Tag() = roms;
    picker.load();

    // The open folder sits under each of its parents, from the root down.
    QStringList chain;
    for (QTreeWidgetItem *item = picker.dirDirectory->currentItem(); item; item = item->parent())
        chain.prepend(item->text(0));
    EXPECT_EQ(chain, (QStringList{QStringLiteral("/")} + roms.split(QLatin1Char('/'), Qt::SkipEmptyParts)));

    QTreeWidgetItem *parent = picker.dirDirectory->currentItem()->parent();
    emit picker.dirDirectory->itemActivated(parent, 0);
    EXPECT_EQ(picker.dirDirectory->path(), testsupport::tempDir());
    EXPECT_EQ(picker.lblFilename->text(), testsupport::tempDir());

    ASSERT_GE(picker.drvDrive->count(), 1);
    EXPECT_EQ(picker.drvDrive->itemData(0).toString(), QStringLiteral("/"));
    if (picker.drvDrive->currentIndex() != 0) {
        picker.drvDrive->setCurrentIndex(0);
        EXPECT_EQ(picker.dirDirectory->path(), QStringLiteral("/"));
    } else if (picker.drvDrive->count() > 1) {
        picker.drvDrive->setCurrentIndex(1);
        EXPECT_EQ(picker.dirDirectory->path(), picker.drvDrive->itemData(1).toString());
    }
    EXPECT_EQ(QDir::currentPath(), picker.dirDirectory->path());
}
