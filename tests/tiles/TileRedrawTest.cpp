// The live tile redraw: which bytes land where for each width and offset,
// the end of the data, the controls and captions around the walk, the
// yields, a stop asked for at a yield, and an error on the way.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <random>

#include "FakeViewer.h"
#include "TileRedraw.h"
#include "VbError.h"

using namespace tilestest;
using tiles::RedrawControl;

namespace {

QByteArray randomImage(int size)
{
    std::mt19937 random(size);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(random() & 0xFF);
    return bytes;
}

// What the picture must show, straight from the tile layout: view tile
// (c, r) is file tile r x width + c from the offset; pixel line L is bytes
// 2L and 2L + 1; a byte's bit pair k is pixel k; no data leaves the background.
std::string expectedRow(const QByteArray &image, int offset, int width, int y)
{
    std::string letters;
    const int tilesDrawn = std::min(width, 48);
    for (int x = 0; x < 384; ++x) {
        const int col = x / 8;
        const int64_t at = offset + (int64_t(y / 8) * width + col) * 16 + 2 * (y % 8) + (x % 8) / 4;
        if (col >= tilesDrawn || at >= image.size()) {
            letters += '.';
            continue;
        }
        letters += RendererLetter((uint8_t(image.at(qsizetype(at))) >> (2 * (x % 4))) & 3);
    }
    return letters;
}

void expectPicture(const FakeViewer &v, int offset, int width)
{
    for (int y = 0; y < 224; ++y)
        ASSERT_EQ(Shades(v.surface, 0, y, 384), expectedRow(v.rom, offset, width, y)) << "line " << y;
}

} // namespace

TEST(RedrawTiles, DrawsTheTilesOfEachWidthAndOffset)
{
    const struct {
        int imageSize;
        const char *offset;
        const char *width;
        int yields;
    } cases[] = {
        {40000, "0", "48", 1344},
        {40000, "0", "3", 84},      // narrower: the rest of each row keeps the background
        {40000, "100", "64", 1344}, // wider: 48 drawn, 16 tiles passed over per row
        {1000, "0", "48", 1344},    // the image ends in the first rows, in a tile's middle
        {9000, "37", "1", 28},
        {300000, "0", "384", 1344}, // a width in pixels is still taken as tiles
    };
    for (const auto &c : cases) {
        FakeViewer v(randomImage(c.imageSize));
        v.offset = QString::fromLatin1(c.offset);
        v.width = QString::fromLatin1(c.width);
        tiles::RedrawTiles(v);
        SCOPED_TRACE(std::string("width ") + c.width + " offset " + c.offset);
        expectPicture(v, v.offset.toInt(), v.width.toInt());
        EXPECT_EQ(v.yields, c.yields);
        EXPECT_EQ(v.viewWidth, v.width.toInt());
    }
}

TEST(RedrawTiles, APartialLastTileDrawsItsBytesLineByLine)
{
    FakeViewer v(QByteArray(16, char(0xFF)) + QByteArray(5, char(0x00)));
    v.width = QStringLiteral("2");
    tiles::RedrawTiles(v);
    EXPECT_EQ(Shades(v.surface, 8, 0, 8), "BBBBBBBB");
    EXPECT_EQ(Shades(v.surface, 8, 1, 8), "BBBBBBBB");
    EXPECT_EQ(Shades(v.surface, 8, 2, 8), "BBBB....");
    for (int y = 3; y < 8; ++y)
        EXPECT_EQ(Shades(v.surface, 8, y, 8), "........");
}

TEST(RedrawTiles, AnOffsetPastTheEndBecomesTheLengthAndDrawsNothing)
{
    for (const QString &offset : {QStringLiteral("1000"), QStringLiteral("800")}) {
        FakeViewer v(randomImage(800));
        v.offset = offset;
        v.surface.PSet(5, 5, kWhite);
        tiles::RedrawTiles(v);
        EXPECT_EQ(v.offset, QStringLiteral("800"));
        expectPicture(v, 800, 48);
        EXPECT_EQ(v.caption, QStringLiteral("ROM Tile Viewer - [Vb tetris]"));
    }
}

TEST(RedrawTiles, AWidthOfZeroOrLessDrawsNothingAndDoesNotYield)
{
    for (const QString &width : {QStringLiteral("0"), QStringLiteral("-3")}) {
        FakeViewer v(randomImage(2000));
        v.width = width;
        tiles::RedrawTiles(v);
        EXPECT_EQ(v.yields, 0);
        expectPicture(v, 0, 0);
        EXPECT_EQ(v.enabledHeldControls(), 17);
    }
}

TEST(RedrawTiles, HoldsTheControlsAndShowsRedrawingWhileItWalks)
{
    FakeViewer v(randomImage(2000));
    v.autoUpdate = 1;
    std::vector<int> heldEnabled;
    QStringList captions;
    v.onYield = [&](int) {
        heldEnabled.push_back(v.enabledHeldControls());
        captions << v.caption;
        return false;
    };
    tiles::RedrawTiles(v);

    ASSERT_FALSE(heldEnabled.empty());
    EXPECT_EQ(std::count(heldEnabled.begin(), heldEnabled.end(), 0), int(heldEnabled.size()));
    EXPECT_EQ(captions.first(), QStringLiteral("ROM Tile Viewer - Redrawing..."));
    EXPECT_TRUE(v.isEnabled(RedrawControl::mnuEditCopy)); // menus stay as they were
    EXPECT_EQ(v.caption, QStringLiteral("ROM Tile Viewer - [Vb tetris]"));
    // With auto-update on, Update Screen stays disabled.
    EXPECT_EQ(v.enabledHeldControls(), 16);
    EXPECT_FALSE(v.isEnabled(RedrawControl::cmdUpdate));
}

TEST(RedrawTiles, UpdateScreenComesBackOnlyWhileAutoUpdateIsClear)
{
    for (int value : {0, 1, 2}) {
        FakeViewer v(randomImage(600));
        v.autoUpdate = value;
        tiles::RedrawTiles(v);
        EXPECT_EQ(v.isEnabled(RedrawControl::cmdUpdate), value == 0) << "value " << value;
        EXPECT_TRUE(v.isEnabled(RedrawControl::chkAutoUpdate));
        EXPECT_TRUE(v.isEnabled(RedrawControl::cmdChangePalette));
    }
}

TEST(RedrawTiles, ShowsTheTimeTakenOnTheUpdateButton)
{
    FakeViewer v(randomImage(600));
    tiles::RedrawTiles(v);
    const QRegularExpression time(QStringLiteral("^Update Screen: (\\d[0-9.E+-]*) seconds$"));
    const QRegularExpressionMatch m = time.match(v.updateCaption);
    ASSERT_TRUE(m.hasMatch()) << v.updateCaption.toStdString();
    EXPECT_GE(m.captured(1).toDouble(), 0.0);
    EXPECT_LT(m.captured(1).toDouble(), 10.0);
}

TEST(RedrawTiles, AStopAskedForAtAYieldEndsTheWalkWithTheControlsBack)
{
    FakeViewer v(QByteArray(40000, char(0xFF)));
    v.onYield = [](int n) { return n == 3; };
    tiles::RedrawTiles(v);
    EXPECT_EQ(v.yields, 3);
    EXPECT_EQ(Shades(v.surface, 0, 0, 32), std::string(24, 'W') + std::string(8, '.'));
    EXPECT_EQ(Shades(v.surface, 0, 8, 8), "........");
    EXPECT_EQ(v.enabledHeldControls(), 17);
    EXPECT_EQ(v.caption, QStringLiteral("ROM Tile Viewer - [Vb tetris]"));
    EXPECT_TRUE(v.updateCaption.startsWith(QStringLiteral("Update Screen: ")));
}

TEST(RedrawTiles, AnErrorOnTheWayStillGivesTheControlsAndCaptionBack)
{
    FakeViewer v(randomImage(600));
    v.fileLength.clear(); // no length: not a number
    try {
        tiles::RedrawTiles(v);
        FAIL() << "no error";
    } catch (const VbError &e) {
        EXPECT_EQ(e.number, 13);
    }
    EXPECT_EQ(v.enabledHeldControls(), 17);
    EXPECT_EQ(v.caption, QStringLiteral("ROM Tile Viewer - [Vb tetris]"));
}
