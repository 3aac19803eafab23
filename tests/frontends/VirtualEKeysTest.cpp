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
