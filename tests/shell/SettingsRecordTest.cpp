#include <gtest/gtest.h>

#include <QDir>

#include "Registry.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"
#include "TestSupport.h"

namespace {

const QString kSection = QStringLiteral("Software\\VB and VBA Program Settings\\Zandrel Utils\\Settings");

QStringList storedNames()
{
    return registry::ValueNames(registry::Hive::CurrentUser, kSection);
}

} // namespace

TEST(SettingsRecord, AnEmptyStoreGetsEveryDefaultAsTextInOrder)
{
    SettingsRecord record;
    record.read();
    record.write();

    const QString home = QDir::homePath();
    const QStringList expected = {
        "1.0", "False", "False", home, "False", "4", "", "", "", "", "", "", "", "", "", "",
        "0", "False", "255", "0", "0", "192", "0", "0", "128", "0", "0", "64", "0", "0",
        "False", home, "False", home, "False", home, "False", home, "False", home, "False", home,
        "0", "0", "0", "0"};
    ASSERT_EQ(storedNames().size(), 46);
    for (int i = 0; i < 46; ++i) {
        EXPECT_EQ(storedNames()[i], SettingsKeyNames()[i]);
        EXPECT_EQ(settings::Get(SettingsKeyNames()[i], QStringLiteral("<missing>")), expected[i])
            << SettingsKeyNames()[i].toStdString();
    }
    EXPECT_EQ(SettingsKeyNames().front(), QStringLiteral("Version Number"));
    EXPECT_EQ(SettingsKeyNames().back(), QStringLiteral("Create Change Log"));
}

TEST(SettingsRecord, StoredTextIsRewrittenInItsPlainForm)
{
    settings::Save(QStringLiteral("VB Main Menu Theme"), QStringLiteral("true"));
    settings::Save(QStringLiteral("VB Theme Colours"), QStringLiteral("-1"));
    settings::Save(QStringLiteral("Version Number"), QStringLiteral("my build"));
    settings::Save(QStringLiteral("White Tile Red"), QStringLiteral(" 12.5 "));
    settings::Save(QStringLiteral("Black Tile Red"), QStringLiteral("300"));
    settings::Save(QStringLiteral("Tile Display Mode"), QStringLiteral("pixels"));
    settings::Save(QStringLiteral("Recent ROMs number"), QStringLiteral("25"));
    settings::Save(QStringLiteral("Auto Detect ROM"), QStringLiteral("perhaps"));

    SettingsRecord record;
    record.read();
    EXPECT_TRUE(record.VbMainMenuTheme);
    EXPECT_TRUE(record.VbThemeColours);
    EXPECT_EQ(record.WhiteTile.Red, 12);
    EXPECT_EQ(record.BlackTile.Red, 64);   // out of range: the default
    EXPECT_EQ(record.TileDisplayMode, 0);  // not a number: the default
    EXPECT_EQ(record.RecentRomsNumber, 10); // brought into 0..10
    EXPECT_FALSE(record.AutoDetectRom);
    record.write();

    EXPECT_EQ(settings::Get(QStringLiteral("VB Main Menu Theme")), QStringLiteral("True"));
    EXPECT_EQ(settings::Get(QStringLiteral("VB Theme Colours")), QStringLiteral("True"));
    EXPECT_EQ(settings::Get(QStringLiteral("Version Number")), QStringLiteral("my build"));
    EXPECT_EQ(settings::Get(QStringLiteral("White Tile Red")), QStringLiteral("12"));
}

TEST(SettingsRecord, TheRealityBoyKeysAreLeftAlone)
{
    SettingsRecord record;
    record.read();
    record.write();
    for (const QString &name : storedNames())
        EXPECT_FALSE(name.startsWith(QStringLiteral("Reality Boy ")) && name != QStringLiteral("Reality Boy Enabled")
                     && name != QStringLiteral("Reality Boy Directory"))
            << name.toStdString();
}

TEST(SettingsRecord, AllButVersionWritesFortyFiveKeys)
{
    SettingsRecord record;
    record.read();
    record.writeAllButVersion();
    const QStringList names = storedNames();
    ASSERT_EQ(names.size(), 45);
    EXPECT_EQ(names.front(), QStringLiteral("VB Main Menu Theme"));
}
