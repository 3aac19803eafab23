#include <gtest/gtest.h>

#include "Paths.h"
#include "TestSupport.h"

TEST(Paths, AppendFileToDirJoinsWithOneSlash)
{
    EXPECT_EQ(paths::AppendFileToDir(QStringLiteral("/"), QStringLiteral("a.vb")), QStringLiteral("/a.vb"));
    EXPECT_EQ(paths::AppendFileToDir(QStringLiteral("/roms"), QStringLiteral("a.vb")), QStringLiteral("/roms/a.vb"));
    EXPECT_EQ(paths::AppendFileToDir(QStringLiteral("/roms/"), QStringLiteral("a.vb")), QStringLiteral("/roms/a.vb"));
    EXPECT_EQ(paths::AppendFileToDir(QString(), QStringLiteral("a.vb")), QStringLiteral("a.vb"));
    // Blanks belong to names on Linux and are kept.
    EXPECT_EQ(paths::AppendFileToDir(QStringLiteral("/roms "), QStringLiteral("a.vb")), QStringLiteral("/roms /a.vb"));
}

TEST(Paths, FindsFilesIgnoringLetterCase)
{
    const QString dir = testsupport::tempDir();
    testsupport::writeFile(QStringLiteral("msgokata.ttf"), "x");
    EXPECT_EQ(paths::FindFileNoCase(dir, QStringLiteral("MSGOKATA.TTF")), dir + QStringLiteral("/msgokata.ttf"));
    EXPECT_TRUE(paths::FileExistsNoCase(dir + QStringLiteral("/"), QStringLiteral("MsgOkata.ttf")));
    EXPECT_FALSE(paths::FileExistsNoCase(dir, QStringLiteral("Zandrel.dll")));
    EXPECT_FALSE(paths::FileExistsNoCase(dir + QStringLiteral("/missing"), QStringLiteral("x")));
}

TEST(Paths, InstallFoldersFollowTheProgramFolder)
{
    paths::OverrideProgramFolder(QStringLiteral("/opt/zandrel/"));
    EXPECT_EQ(paths::ProgramFolder(), QStringLiteral("/opt/zandrel"));
    EXPECT_EQ(paths::WindowsFolder(), QStringLiteral("/opt/zandrel"));
    EXPECT_EQ(paths::FontsFolder(), QStringLiteral("/opt/zandrel/fonts"));
    paths::OverrideProgramFolder(QString());
}
