// The per-byte renderers: which member draws which byte, the four pixels'
// places and shades, and what draws nothing.

#include <gtest/gtest.h>

#include "FakeViewer.h"
#include "TileRenderers.h"
#include "VbError.h"

using namespace tilestest;
using tiles::TileRenderers;

namespace {

using Member = void (TileRenderers::*)(int16_t, int16_t, int16_t, int16_t, QByteArrayView);
constexpr Member kMembers[] = {&TileRenderers::DrawByteGroup0, &TileRenderers::DrawByteGroup1,
                               &TileRenderers::DrawByteGroup2, &TileRenderers::DrawByteGroup3,
                               &TileRenderers::DrawByteGroup4, &TileRenderers::DrawByteGroup5,
                               &TileRenderers::DrawByteGroup6, &TileRenderers::DrawByteGroup7};

const tiles::Swatches kSwatches{kWhite, kLGrey, kDGrey, kBlack};

QByteArray byteChar(int value)
{
    return QByteArray(1, char(value));
}

struct Canvas {
    controls::PictureSurface picture{QSize(384, 224), kBackground};
    TileRenderers renderers{picture, kSwatches};

    void draw(int member, int col, int row, int offset, int line, QByteArrayView text)
    {
        (renderers.*kMembers[member])(int16_t(col), int16_t(row), int16_t(offset), int16_t(line), text);
    }
    bool untouched() const { return picture.image() == controls::PictureSurface(QSize(384, 224), kBackground).image(); }
};

} // namespace

TEST(TileRenderers, WorkedBytesGiveTheirShadesLeftToRight)
{
    const struct {
        int value;
        const char *shades;
    } rows[] = {
        {0x00, "BBBB"}, {0x01, "DBBB"}, {0x1B, "WLDB"}, {0x20, "BBLB"}, {0x3F, "WWWB"},
        {0x40, "BBBD"}, {0x55, "DDDD"}, {0x5F, "WWDD"}, {0x60, "BBLD"}, {0x7F, "WWWD"},
        {0x80, "BBBL"}, {0xC5, "DDBW"}, {0xE4, "BDLW"}, {0xFF, "WWWW"},
    };
    for (const auto &row : rows) {
        Canvas c;
        c.draw(row.value >> 5, 1, 2, 4, 3, byteChar(row.value));
        EXPECT_EQ(Shades(c.picture, 12, 19, 4), row.shades) << "byte " << row.value;
    }
}

// Every member draws exactly its 32 values, each by the one rule: bits 2k
// and 2k + 1 give pixel x + k.
TEST(TileRenderers, EachMemberDrawsItsOwnRangeByTheOneRule)
{
    Canvas c;
    for (int member = 0; member < 8; ++member) {
        for (int value = 0; value < 256; ++value) {
            for (int x = 0; x < 4; ++x)
                c.picture.PSet(x, 0, kBackground);
            c.draw(member, 0, 0, 0, 0, byteChar(value));
            std::string expected = "....";
            if (value / 32 == member)
                for (int k = 0; k < 4; ++k)
                    expected[size_t(k)] = RendererLetter((value >> (2 * k)) & 3);
            ASSERT_EQ(Shades(c.picture, 0, 0, 4), expected) << "member " << member << " byte " << value;
        }
    }
}

TEST(TileRenderers, PlacesTheBytesPixelsByTileColumnRowOffsetAndLine)
{
    Canvas c;
    c.draw(7, 47, 27, 4, 7, byteChar(0xFF));
    c.draw(0, 0, 0, 0, 0, byteChar(0x00));
    EXPECT_EQ(Shades(c.picture, 379, 223, 5), ".WWWW");
    EXPECT_EQ(Shades(c.picture, 0, 0, 5), "BBBB.");
    EXPECT_EQ(Shades(c.picture, 0, 1, 4), "....");

    // Past the picture's edge nothing is set and nothing fails.
    Canvas outside;
    outside.draw(7, 48, 0, 0, 0, byteChar(0xFF));
    outside.draw(7, 0, 28, 0, 0, byteChar(0xFF));
    EXPECT_TRUE(outside.untouched());
}

TEST(TileRenderers, TextsThatAreNotOneByteDrawNothing)
{
    Canvas c;
    for (int member = 0; member < 8; ++member) {
        c.draw(member, 0, 0, 0, 0, QByteArray());
        c.draw(member, 0, 0, 0, 0, QByteArray(2, char(member * 32)));
    }
    EXPECT_TRUE(c.untouched());
}

TEST(TileRenderers, A16BitCoordinateOverflowFailsBeforeAnyPixel)
{
    Canvas c;
    try {
        c.draw(0, 4096, 0, 0, 0, byteChar(0));
        FAIL() << "no overflow";
    } catch (const VbError &e) {
        EXPECT_EQ(e.number, 6);
    }
    EXPECT_THROW(c.draw(0, 4095, 0, 5, 0, byteChar(0)), VbError); // 32760 + 5 + 3 passes 32767
    c.draw(0, 4095, 0, 4, 0, byteChar(0));                        // 32767 does not
    EXPECT_TRUE(c.untouched());
}

TEST(TileRenderers, NewSwatchColoursShowOnlyInPixelsDrawnAfterwards)
{
    controls::PictureSurface picture(QSize(384, 224), kBackground);
    TileRenderers(picture, kSwatches).DrawByteGroup7(0, 0, 0, 0, byteChar(0xE4));
    const int32_t red = controls::RGB(255, 0, 0);
    TileRenderers(picture, tiles::Swatches{red, kLGrey, kDGrey, kBlack}).DrawByteGroup7(1, 0, 0, 0, byteChar(0xE4));
    EXPECT_EQ(Shades(picture, 0, 0, 4), "BDLW");
    EXPECT_EQ(Shades(picture, 8, 0, 3), "BDL");
    EXPECT_EQ(picture.Point(11, 0), red);
}
