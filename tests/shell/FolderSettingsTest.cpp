#include <gtest/gtest.h>

#include <QDir>

#include "FolderSettings.h"
#include "SettingsStore.h"
#include "TestSupport.h"

namespace {

// A folder in the test's temporary folder holding the given (empty) files.
QString folderWith(const QString &name, const QStringList &files)
{
    const QString dir = QDir(testsupport::tempDir()).filePath(name);
    QDir().mkpath(dir);
    for (const QString &file : files)
        testsupport::writeFile(name + QLatin1Char('/') + file, QByteArray());
    return dir;
}

const ToolDefinition &tool(int index)
{
    return ToolDefinitions()[index];
}

// Each character is one unit wide.
int charCount(const QString &text)
{
    return int(text.size());
}

} // namespace

TEST(ToolFolders, AToolFolderPassesWithAnyOfItsProgramsInAnyLetterCaseWithOrWithoutExe)
{
    struct Case {
        int tool;
        const char *file;
        bool passes;
    };
    const Case cases[] = {
        {0, "RBOY.EXE", true},     {0, "vb_98.exe", true},    {0, "rboy.com", false},
        {1, "VIRTUALE.EXE", true}, {2, "RDragon.EXE", true},  {3, "VECC.EXE", true},
        {4, "vide.exe", true},     {5, "Vbdk.exe", true},     {5, "VBDK00.EXE", true},
        {5, "vbdk09.exe", true},   {5, "Vbdk10.exe", false},  {5, "Vbdk0.exe", false},
        // a native build or wrapper script under the program's name
        {0, "rboy", true},         {1, "virtuale", true},     {2, "RDRAGON", true},
        {5, "vbdk03", true},       {0, "rboy.sh", false},
    };
    int n = 0;
    for (const Case &c : cases) {
        const QString dir = folderWith(QStringLiteral("case%1").arg(n++), {QString::fromLatin1(c.file)});
        EXPECT_EQ(FolderHoldsAnyOf(dir, tool(c.tool).programFiles), c.passes) << c.file;
    }
}

TEST(ToolFolders, AnEmptyOrMissingFolderHoldsNothingEvenWhenTheCurrentFolderDoes)
{
    const QString here = folderWith(QStringLiteral("current"), {QStringLiteral("Rboy.exe"), QStringLiteral("a.vb")});
    const QString before = QDir::currentPath();
    QDir::setCurrent(here);
    EXPECT_FALSE(FolderHoldsAnyOf(QString(), tool(0).programFiles));
    EXPECT_FALSE(FolderHoldsRoms(QString()));
    EXPECT_FALSE(FolderHoldsAnyOf(here + QStringLiteral("/gone"), tool(0).programFiles));
    QDir::setCurrent(before);
}

TEST(RomFolder, ARomImageInAnyLetterCaseCounts)
{
    EXPECT_TRUE(FolderHoldsRoms(folderWith(QStringLiteral("upper"), {QStringLiteral("GAME.VB")})));
    EXPECT_TRUE(FolderHoldsRoms(folderWith(QStringLiteral("mixed"), {QStringLiteral("Wario Land.Vb")})));
    EXPECT_FALSE(FolderHoldsRoms(folderWith(QStringLiteral("other"), {QStringLiteral("game.vbx"), QStringLiteral("vb")})));
    const QString onlyAFolder = folderWith(QStringLiteral("dironly"), {});
    QDir().mkpath(onlyAFolder + QStringLiteral("/sub.vb"));
    EXPECT_FALSE(FolderHoldsRoms(onlyAFolder));
}

TEST(PathCaption, APathIsShownWholeOrAsItsLongestBeginningThatFits)
{
    struct Case {
        const char *path;
        int limit;
        const char *caption;
    };
    const Case cases[] = {
        {"/home/user", 10, "/home/user"},            // exactly fits
        {"/home/user/roms", 10, "/home/u..."},       // longest beginning with "..." that fits
        {"/home/user/roms", 14, "/home/user/..."},
        {"/home/user/roms", 3, "..."},               // only the dots fit
        {"/home/user/roms", 2, "..."},               // not even the dots: they are as short as it gets
        {"", 0, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FitPathCaption(QString::fromLatin1(c.path), c.limit, charCount), QString::fromLatin1(c.caption))
            << c.path << " within " << c.limit;
}

// A window that reads only a tool's two keys sees what the settings record
// sees, stored values and defaults alike.
TEST(ToolFolders, AToolsOwnSettingsReadAsTheSettingsRecordReadsThem)
{
    settings::Save(QStringLiteral("Virtual-E Enabled"), QStringLiteral("-1"));
    settings::Save(QStringLiteral("Virtual-E Directory"), QStringLiteral("/opt/virtual e"));
    settings::Save(QStringLiteral("VB Dev Kit Enabled"), QStringLiteral("true"));
    settings::Save(QStringLiteral("V-Environment Directory"), QStringLiteral("/opt/vide"));
    settings::Save(QStringLiteral("Red Dragon Enabled"), QStringLiteral("maybe"));
    SettingsRecord record;
    record.read();
    for (int id = 0; id < 6; ++id) {
        const ToolDefinition &definition = ToolDefinitions()[id];
        const ToolSetting setting = ReadToolSetting(ToolId(id));
        EXPECT_EQ(setting.enabled, record.*(definition.enabled)) << definition.enabledKey.toStdString();
        EXPECT_EQ(setting.folder, record.*(definition.folder)) << definition.folderKey.toStdString();
    }
    EXPECT_TRUE(ReadToolSetting(ToolId::VirtualE).enabled);
    EXPECT_EQ(ReadToolSetting(ToolId::VEnvironment).folder, QStringLiteral("/opt/vide"));
    EXPECT_EQ(ReadToolSetting(ToolId::RealityBoy).folder, DefaultFolder());
}
