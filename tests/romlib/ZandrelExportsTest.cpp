// The exports of Zandrel.dll called directly, with arguments the program's
// binding never passes.

#include "Zandrel.h"

#include "MsgBox.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

// Output with guard bytes after the 8 the checksum may write.
std::string checksumWithGuard(const uint8_t *image, int32_t length, int32_t flag)
{
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    GetVbRomChecksum(image, length, flag, buffer);
    return std::string(buffer, sizeof buffer);
}

TEST(RomLibExports, ChecksumWritesEightCharactersAndNoMore)
{
    const std::vector<uint8_t> ones(1024, 1);
    const struct {
        int32_t length;
        const char *expected;
    } cases[] = {
        {1024, "0007C000########"},
        {0, "00000000########"},
        {-1, "00000000########"},
        {std::numeric_limits<int32_t>::min(), "00000000########"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.length);
        EXPECT_EQ(checksumWithGuard(ones.data(), c.length, 0), c.expected);
    }
}

TEST(RomLibExports, ChecksumFlagReadsOnlyTheLowestByte)
{
    const std::vector<uint8_t> ones(1024, 1);
    const struct {
        int32_t flag;
        const char *expected;
    } cases[] = {
        {0, "0007C000"},   {256, "0007C000"}, {0x7FFFFF00, "0007C000"}, {int32_t(0x80000000), "0007C000"},
        {-1, "00080000"},  {1, "00080000"},   {0x101, "00080000"},      {0x80, "00080000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.flag);
        EXPECT_EQ(checksumWithGuard(ones.data(), 1024, c.flag).substr(0, 8), c.expected);
    }
}

TEST(RomLibExports, TileModeReturnsTheBoxAnswerAndWritesNothing)
{
    const std::vector<uint8_t> image(96 * 224, 0x1B);
    std::vector<uint8_t> pixels(ZANDREL_PIXEL_BYTES, 0x30);
    testsupport::messageBoxes().answerNext(msgbox::vbCancel);
    // Only the lowest byte of the flag counts: 0x101 is tile mode.
    EXPECT_EQ(DisplayVbTiles(image.data(), int32_t(image.size()), 0, 8, 224, 0x101, pixels.data()), msgbox::vbCancel);
    EXPECT_EQ(pixels, std::vector<uint8_t>(ZANDREL_PIXEL_BYTES, 0x30));
    ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
    EXPECT_EQ(testsupport::messageBoxes().last().prompt, QStringLiteral("TILES"));

    // 0x100 is linear mode.
    DisplayVbTiles(image.data(), int32_t(image.size()), 0, 8, 224, 0x100, pixels.data());
    EXPECT_EQ(pixels[1], 1);
    EXPECT_EQ(testsupport::messageBoxes().calls.size(), 1);
}

TEST(RomLibExports, SendArrayShowsTheFirstElement)
{
    const int16_t values[] = {-12, 7};
    testsupport::messageBoxes().answerNext(msgbox::vbCancel);
    EXPECT_EQ(SendArray(99, values), msgbox::vbCancel);
    const msgbox::Call box = testsupport::messageBoxes().last();
    EXPECT_EQ(box.prompt, QStringLiteral("SendArray: first element = -12"));
    EXPECT_EQ(box.style, msgbox::vbOKOnly);
    EXPECT_EQ(box.title, QStringLiteral("Zandrel"));
}

TEST(RomLibExports, NullPointersAreHarmless)
{
    char out[8];
    GetVbRomChecksum(nullptr, 1024, 0, out);
    EXPECT_EQ(std::string(out, 8), "00000000");
    const uint8_t byte = 1;
    GetVbRomChecksum(&byte, 1, 0, nullptr);

    std::vector<uint8_t> pixels(ZANDREL_PIXEL_BYTES, 0);
    DisplayVbTiles(nullptr, 1024, 0, 384, 224, 0, pixels.data());
    EXPECT_EQ(pixels, std::vector<uint8_t>(ZANDREL_PIXEL_BYTES, 4)) << "no image: no data anywhere";
    DisplayVbTiles(&byte, 1, 0, 384, 224, 0, nullptr);

    FlipVbRomTiles(nullptr, 100);
    SendArray(0, nullptr);
    EXPECT_EQ(testsupport::messageBoxes().calls.size(), 1);
}

} // namespace
