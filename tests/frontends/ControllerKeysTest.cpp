#include <gtest/gtest.h>

#include "ControllerKeys.h"

using namespace controllerkeys;

TEST(ControllerKeys, TheDefaultKeysAreRealityBoys)
{
    const KeyCodeTable expected{77, 78, 71, 72, 69, 67, 83, 70, 73, 188, 74, 76, 66, 86};
    EXPECT_EQ(DefaultKeySet(), expected);
}

TEST(RedDragonKeys, IndicesBecomeCodesAndComeBack)
{
    struct Case {
        const char *item;
        int16_t code;
        const char *back;
    };
    const Case cases[] = {
        {"13", 77, "13"},    // M
        {" 72 ", 188, "72"}, // comma, blanks around the number
        {"0", 900, "0"},     // the blank key
        {"91", 0, "0"},      // keypad Enter has no virtual-key code
        {"200", 0, "0"},     // no such index
        {"-1", 0, "0"},
        {"x", 0, "0"},
        {"103", 911, "103"}, // left Shift
        {"108", 916, "108"}, // right Alt
        {"114", 20, "114"},  // Caps Lock
        {"59", 27, "59"},    // Escape
    };
    for (const Case &c : cases) {
        QStringList items(kSlotCount, QStringLiteral("1"));
        items[Slot::Start] = QString::fromLatin1(c.item);
        const KeyCodeTable codes = KeyCodesFromRedDragonItems(items);
        EXPECT_EQ(codes[Slot::Start], c.code) << c.item;
        EXPECT_EQ(codes[Slot::AButton], 65) << c.item;
        const QStringList back = RedDragonItemsFromKeyCodes(codes);
        ASSERT_EQ(back.size(), kSlotCount);
        EXPECT_EQ(back[Slot::Start], QString::fromLatin1(c.back)) << c.item;
    }
}

TEST(RedDragonKeys, KeysRedDragonHasNoIndexForGoBackAsTheBlankKey)
{
    KeyCodeTable codes{};
    const int16_t noIndex[] = {1, 2, 16, 17, 18, 0, 7, 160};
    for (size_t i = 0; i < std::size(noIndex); ++i)
        codes[i] = noIndex[i];
    const QStringList items = RedDragonItemsFromKeyCodes(codes);
    EXPECT_EQ(items, QStringList(kSlotCount, QStringLiteral("0")));
    // A short list reads its missing items as no key.
    EXPECT_EQ(KeyCodesFromRedDragonItems({QStringLiteral("1")})[1], 0);
}
