#include <gtest/gtest.h>

#include "KeyStoreFixture.h"
#include "Registry.h"
#include "TestSupport.h"
#include "VirtualERegistry.h"

using namespace controllerkeys;
using keystoretest::storeKeypadValue;
using virtuale::ReadKeypad;
using virtuale::SaveKeypad;

namespace {

const QStringList kValueNames{"A Button", "B Button", "L Button", "R Button", "ULP", "DLP",   "LLP",
                              "RLP",      "URP",      "DRP",      "LRP",      "RRP", "Start", "Select"};

} // namespace

TEST(VirtualEKeys, WithoutTheKeypadKeyEverySlotHasItsDefaultKey)
{
    EXPECT_EQ(ReadKeypad(), DefaultKeySet());
    EXPECT_FALSE(registry::KeyExists(registry::Hive::CurrentUser, virtuale::kKeypadKey));
}

TEST(VirtualEKeys, StoredKeysAreReadAndUnusableOnesFallBackToTheirDefault)
{
    for (int slot = 0; slot < kSlotCount; ++slot)
        storeKeypadValue(kValueNames[slot], registry::Value::fromDword(uint32_t(65 + slot)));
    // "Select" missing; others out of range or not numbers.
    registry::DeleteValue(registry::Hive::CurrentUser, virtuale::kKeypadKey, QStringLiteral("Select"));
    storeKeypadValue(QStringLiteral("A Button"), registry::Value::fromDword(0));
    storeKeypadValue(QStringLiteral("L Button"), registry::Value::fromDword(70000));
    storeKeypadValue(QStringLiteral("R Button"), registry::Value::fromDword(uint32_t(-5)));
    storeKeypadValue(QStringLiteral("ULP"), registry::Value::fromDword(256));
    storeKeypadValue(QStringLiteral("DLP"), registry::Value::fromString(QStringLiteral("abc")));
    storeKeypadValue(QStringLiteral("LLP"), registry::Value::fromBinary(QByteArray("\x41\0\0\0", 4)));
    // Text that holds a number, and one of the program's own codes, are keys.
    storeKeypadValue(QStringLiteral("RLP"), registry::Value::fromString(QStringLiteral("90")));
    storeKeypadValue(QStringLiteral("URP"), registry::Value::fromDword(916));

    const KeyCodeTable expected{77, 66, 71, 72, 69, 67, 83, 90, 916, 74, 75, 76, 77, 86};
    EXPECT_EQ(ReadKeypad(), expected);
}

TEST(VirtualEKeys, SavingWritesFourteenDwordsUnderTheirNames)
{
    KeyCodeTable codes = DefaultKeySet();
    codes[Slot::BButton] = 65;
    codes[Slot::Select] = 911;
    ASSERT_EQ(SaveKeypad(codes), QString());

    EXPECT_EQ(registry::ValueNames(registry::Hive::CurrentUser, virtuale::kKeypadKey), kValueNames);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto stored = registry::QueryValue(registry::Hive::CurrentUser, virtuale::kKeypadKey, kValueNames[slot]);
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->type, registry::REG_DWORD);
        EXPECT_EQ(*stored, registry::Value::fromDword(uint32_t(codes[slot]))) << kValueNames[slot].toStdString();
    }
    EXPECT_EQ(ReadKeypad(), codes);
}

TEST(VirtualEKeys, AStoreThatCannotBeWrittenIsReported)
{
    keystoretest::makeStoreUnwritable();
    const QString problem = SaveKeypad(DefaultKeySet());
    EXPECT_TRUE(problem.contains(QLatin1String("could not"))) << problem.toStdString();
}

namespace {

void storeOption(const char *name, const registry::Value &value)
{
    registry::CreateKey(registry::Hive::CurrentUser, virtuale::kOptionsKey);
    registry::SetValue(registry::Hive::CurrentUser, virtuale::kOptionsKey, QString::fromLatin1(name), value);
}

} // namespace

TEST(VirtualEOptions, MissingUnreadableOrOutOfRangeValuesTakeTheirDefaults)
{
    EXPECT_EQ(virtuale::ReadOptions(), virtuale::Options{});

    storeOption("Display", registry::Value::fromDword(4));
    storeOption("CPU", registry::Value::fromDword(5));              // out of range
    storeOption("Brtness", registry::Value::fromDword(0xFFFFFFFB)); // -5
    storeOption("Style", registry::Value::fromString(QStringLiteral("x")));
    storeOption("Skip", registry::Value::fromDword(32768));         // out of range
    storeOption("FPS", registry::Value::fromDword(60));
    storeOption("TimeInt", registry::Value::fromDword(2));
    storeOption("RAM", registry::Value::fromDword(0));
    storeOption("Sound", registry::Value::fromBinary("\1"));         // not a number
    virtuale::Options expected;
    expected.Display = 4;
    expected.Brtness = -5;
    expected.FPS = 60;
    expected.TimeInt = true;
    EXPECT_EQ(virtuale::ReadOptions(), expected);

    storeOption("Brtness", registry::Value::fromDword(6));
    storeOption("Display", registry::Value::fromDword(0));
    expected.Brtness = 0;
    expected.Display = 2;
    EXPECT_EQ(virtuale::ReadOptions(), expected);
}

TEST(VirtualEOptions, SavingWritesTwelveDwordsInOrderBooleansAsOneAndZero)
{
    virtuale::Options options;
    options.Display = 4;
    options.CPU = 1;
    options.Brtness = -5;
    options.Style = 3;
    options.Skip = 32767;
    options.FPS = 60;
    options.KeyInt = true;
    options.Sound = true;
    ASSERT_EQ(virtuale::SaveOptions(options), QString());

    const std::pair<const char *, uint32_t> expected[] = {
        {"Display", 4}, {"CPU", 1},     {"Brtness", 0xFFFFFFFB}, {"Style", 3},    {"Skip", 32767}, {"FPS", 60},
        {"DisplayInt", 0}, {"TimeInt", 0}, {"KeyInt", 1},       {"RAM", 0},      {"NPalette", 0}, {"Sound", 1},
    };
    QStringList names;
    for (const auto &[name, dword] : expected) {
        names << QString::fromLatin1(name);
        EXPECT_EQ(registry::QueryValue(registry::Hive::CurrentUser, virtuale::kOptionsKey, QString::fromLatin1(name)),
                  registry::Value::fromDword(dword))
            << name;
    }
    EXPECT_EQ(registry::ValueNames(registry::Hive::CurrentUser, virtuale::kOptionsKey), names);
    EXPECT_EQ(virtuale::ReadOptions(), options);
}
