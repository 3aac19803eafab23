#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ListFiles.h"
#include "SaveFile.h"
#include "TestSupport.h"

using namespace romdb;

namespace {

RomListTexts Lists()
{
    RomListTexts texts;
    texts.InitHaveList();
    texts.InitMissList();
    texts.InitDupesList();
    texts.InitChangeLog();
    return texts;
}

} // namespace

TEST(ListFiles, AFullDiskKeepsTheOldListAndSaysWhy)
{
    testsupport::SmallFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    const QString have = disk.path() + QStringLiteral("/VBoyHave.txt");
    QFile old(have);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'o'));
    old.close();

    disk.leaveFree(0);
    const auto failure = SaveListFiles(disk.path(), Lists(), false);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->path, have);
    EXPECT_TRUE(failure->reason.contains(savefile::ErrorText(ENOSPC))) << failure->reason.toStdString();
    EXPECT_EQ(testsupport::readFile(have), QByteArray(5000, 'o'));
}

TEST(ListFiles, AFailedSaveStopsAtItsFileAndKeepsItsOldList)
{
    const QString folder = testsupport::tempDir();
    const QString miss = testsupport::writeFile(QStringLiteral("VBoyMiss.txt"), "old missing list");
    int synced = 0;
    savefile::SetFaultHook([&](savefile::Step step) {
        return step == savefile::Step::Sync && ++synced == 2 ? EIO : 0;
    });
    const auto failure = SaveListFiles(folder, Lists(), true);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->path, miss);
    EXPECT_EQ(failure->reason, savefile::ErrorText(EIO));
    EXPECT_EQ(testsupport::readFile(miss), QByteArray("old missing list"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), (QStringList{"VBoyHave.txt", "VBoyMiss.txt"}));
}

TEST(ListFiles, ALinkInTheFolderIsReplacedNeverFollowed)
{
    const QString folder = QDir(testsupport::tempDir()).filePath(QStringLiteral("roms"));
    QDir().mkpath(folder);
    const QString elsewhere = testsupport::writeFile(QStringLiteral("elsewhere.txt"), "someone else's file");
    for (const QString &name : {QStringLiteral("VBoyHave.txt"), QStringLiteral("VBoyLog.txt")})
        ASSERT_TRUE(QFile::link(elsewhere, folder + QLatin1Char('/') + name));

    const RomListTexts texts = Lists();
    ASSERT_FALSE(SaveListFiles(folder, texts, true));
    EXPECT_EQ(testsupport::readFile(elsewhere), QByteArray("someone else's file"));
    EXPECT_FALSE(QFileInfo(folder + QStringLiteral("/VBoyHave.txt")).isSymLink());
    EXPECT_EQ(testsupport::readFile(folder + QStringLiteral("/VBoyHave.txt")), texts.haveText().toLocal8Bit());
    EXPECT_EQ(testsupport::readFile(folder + QStringLiteral("/VBoyLog.txt")), texts.changeLog().toLocal8Bit());
}
