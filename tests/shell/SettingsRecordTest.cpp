#include <gtest/gtest.h>

#include <QDir>

#include "Paths.h"
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

// Every setting that holds a path (the base folder, the tools' folders, the
// recent ROMs) comes back from the store byte for byte, whatever the bytes.
TEST(SettingsRecord, EveryPathComesBackByItsBytes)
{
    const auto path = [](const QByteArray &bytes) { return paths::DecodeFileName(bytes); };
    SettingsRecord record = SettingsRecord::Defaults();
    record.BaseDirectory = path("/roms\xE9");
    record.RealityBoyDirectory = path("/emu/r\xE9" "boy");
    record.VirtualEDirectory = path("/emu/virtual\xFF");
    record.RedDragonDirectory = path("/emu/\xE9mu");
    record.VECCompilerDirectory = path("/dev/vecc\xA0");
    record.VEnvironmentDirectory = path("/dev/env\xC3");
    record.VBDevKitDirectory = path("/dev/kit\xE9\xE9");
    for (int i = 0; i < 10; ++i)
        record.RecentRoms[size_t(i)] = path("/roms\xE9/caf\xE9 " + QByteArray::number(i) + ".vb");
    record.write();

    registry::Reload();
    SettingsRecord read;
    read.read();
    EXPECT_EQ(paths::EncodeFileName(read.BaseDirectory), QByteArray("/roms\xE9"));
    EXPECT_EQ(paths::EncodeFileName(read.RecentRoms[9]), QByteArray("/roms\xE9/caf\xE9 9.vb"));
    EXPECT_TRUE(read == record);
}
