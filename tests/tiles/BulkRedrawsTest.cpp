// The roads no control reaches: the buffered redraw, the library redraw and
// the screen-buffer blit with its colour conversions.

#include <gtest/gtest.h>

#include <memory>

#include "FakeViewer.h"
#include "ScreenBlit.h"
#include "TestSupport.h"
#include "TileRedraw.h"
#include "VbError.h"

using namespace tilestest;
using tiles::RedrawControl;
using tiles::ScreenBuffers;

namespace {

// Shades whose conversions tell the bit fields apart.
const tiles::TileShades kShades{TileShade{255, 255, 255}, TileShade{255, 0, 0}, TileShade{0, 255, 0},
                                TileShade{0, 0, 255}};
const int32_t kNoDataColour = controls::RGB(0, 128, 128);

int32_t shadeColour(int code)
{
    if (code == 4)
        return kNoDataColour;
    const TileShade &s = kShades[size_t(code)];
    return controls::RGB(s.Red, s.Green, s.Blue);
}

// A colour as a picture of the format shows it.
int32_t shownIn(QImage::Format format, int32_t colour)
{
    controls::PictureSurface one(QSize(1, 1), colour, format);
    return one.Point(0, 0);
}

std::unique_ptr<ScreenBuffers> screen()
{
    return std::make_unique<ScreenBuffers>();
}

QByteArray codes(int first, int count, char code)
{
    return QByteArray(first, char(0)) + QByteArray(count, code) + QByteArray(86016 - first - count, char(0));
}

} // namespace

// --- blitScreen and the conversions -----------------------------------------

TEST(ScreenBlit, ConvertsEachPaletteEntryToThePicturesFormat)
{
    const struct {
        QImage::Format format;
        std::array<uint32_t, 5> entries; // codes 0-4
    } formats[] = {
        {QImage::Format_RGB32, {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 32896}},
        {QImage::Format_RGB16, {0xFFFF, 0xF800, 0x07E0, 0x001F, 0x0410}},
        {QImage::Format_RGB555, {0x7FFF, 0x7C00, 0x03E0, 0x001F, 0x0210}},
    };
    QByteArray buffer(86016, char(4));
    for (char c = 0; c < 5; ++c)
        buffer[c] = c;
    for (const auto &f : formats) {
        auto s = screen();
        controls::PictureSurface picture(QSize(384, 224), 0, f.format);
        s->blitScreen(buffer, kShades, picture);
        for (int c = 0; c < 5; ++c) {
            const uint32_t pixel = f.format == QImage::Format_RGB32 ? s->PixelArray32[size_t(c)] : s->PixelArray16[size_t(c)];
            EXPECT_EQ(pixel, f.entries[size_t(c)]) << "format " << f.format << " code " << c;
            EXPECT_EQ(picture.Point(c, 0), shownIn(f.format, shadeColour(c))) << "format " << f.format << " code " << c;
        }
        EXPECT_EQ(picture.Point(383, 223), shownIn(f.format, kNoDataColour));
    }
}

TEST(ScreenBlit, APictureThatKeepsTooFewBitsIsLeftAsItWas)
{
    auto s = screen();
    controls::PictureSurface picture(QSize(384, 224), controls::RGB(0, 0, 0), QImage::Format_RGB444);
    const QImage before = picture.image().convertToFormat(QImage::Format_RGB32);
    s->blitScreen(codes(0, 100, 1), kShades, picture);
    EXPECT_EQ(picture.image().convertToFormat(QImage::Format_RGB32), before);
    EXPECT_EQ(s->PixelArray32[0], 0u);
    EXPECT_EQ(tiles::FastBlit::GetScreenBitDepth(picture), 8);
}

TEST(ScreenBlit, RefusesAShortBufferAndABadCode)
{
    auto s = screen();
    controls::PictureSurface picture(QSize(384, 224), 0);
    EXPECT_EQ(ErrorNumber([&] { s->blitScreen(QByteArray(), kShades, picture); }), 5);
    EXPECT_EQ(ErrorNumber([&] { s->blitScreen(QByteArray(86015, char(0)), kShades, picture); }), 5);
    EXPECT_EQ(s->PixelArray32[0], 0u); // nothing converted

    EXPECT_EQ(ErrorNumber([&] { s->blitScreen(codes(10, 1, 5), kShades, picture); }), 9);
    EXPECT_EQ(picture.Point(0, 0), 0); // nothing shown
}

TEST(ScreenBlit, APassOfOneWidthLeavesTheOtherArray)
{
    auto s = screen();
    controls::PictureSurface deep(QSize(384, 224), 0);
    controls::PictureSurface shallow(QSize(384, 224), 0, QImage::Format_RGB555);
    s->blitScreen(codes(0, 86016, 1), kShades, deep);
    s->blitScreen(codes(0, 86016, 3), kShades, shallow);
    EXPECT_EQ(s->PixelArray32[86015], 0xFF0000u);
    EXPECT_EQ(s->PixelArray16[86015], 0x001Fu);
}

TEST(ColourConversion, ComposesAndTakesApartColourValues)
{
    EXPECT_EQ(tiles::rgb2(0, 128, 128), 32896);
    EXPECT_EQ(tiles::rgb16(255, 0, 0), 0xF800);
    EXPECT_EQ(tiles::rgb15(255, 0, 0), 0x7C00);
    EXPECT_EQ(tiles::rgb16(255, 255, 255), 0xFFFF);
    EXPECT_EQ(tiles::rgb15(255, 255, 255), 0x7FFF);
    EXPECT_EQ(ErrorNumber([] { tiles::rgb2(40000, 0, 0); }), 6);

    const int32_t teal = controls::RGB(0, 128, 128);
    const struct {
        const char *selector;
        int16_t component;
    } selectors[] = {{"R", 0},     {"red", 0},   {"0", 0},  {"g", 128}, {"Green", 128}, {"GREEN", 128},
                     {"1", 128},   {"b", 128},   {"2", 128}, {" G", 0}, {"GR", 0},      {"3", 0}, {"", 0}};
    for (const auto &s : selectors)
        EXPECT_EQ(tiles::UnRGB(teal, QString::fromLatin1(s.selector)), s.component) << s.selector;
    EXPECT_EQ(tiles::UnRGB(controls::RGB(255, 255, 255), QStringLiteral("b")), 255);
    for (const char *c : {"R", "G", "B"}) {
        const int16_t part = tiles::UnRGB(-1234567, QString::fromLatin1(c));
        EXPECT_TRUE(part >= 0 && part <= 255) << c;
    }
}

// --- Buffered redraw ---------------------------------------------------------

TEST(RedrawTilesBuffered, DecodesNinetySixBytesToARowIntoScreenBytes)
{
    QByteArray image(2000, char(0));
    image[10] = char(0xE4);
    image[10 + 96] = char(0x2D);
    FakeViewer v(image);
    v.offset = QStringLiteral("10");
    v.width = QStringLiteral("3"); // plays no part
    v.shadeSettings = kShades;
    auto s = screen();
    tiles::RedrawTilesBuffered(v, *s);

    const auto &e = s->ScreenBytes;
    EXPECT_EQ((std::array<uint8_t, 4>{e[0], e[1], e[2], e[3]}), (std::array<uint8_t, 4>{2, 3, 0, 1}));
    EXPECT_EQ((std::array<uint8_t, 4>{e[384], e[385], e[386], e[387]}), (std::array<uint8_t, 4>{2, 0, 1, 3}));
    // The image ends at 2000: the first code 4 is element 4 x (2000 - 10).
    EXPECT_EQ(e[4 * 1990 - 1], 0);
    EXPECT_EQ(e[4 * 1990], 4);
    EXPECT_EQ(e[86107], 4);   // written, never shown
    EXPECT_EQ(e[86108], 0);   // never written
    // What shows is ScreenBytes.
    EXPECT_EQ(v.surface.Point(0, 0), shadeColour(2));
    EXPECT_EQ(v.surface.Point(1, 0), shadeColour(3));
    EXPECT_EQ(v.surface.Point(0, 1), shadeColour(2));
    EXPECT_EQ(v.surface.Point(383, 223), kNoDataColour);
    EXPECT_EQ(v.enabledHeldControls(), 17);
    EXPECT_EQ(v.caption, QStringLiteral("ROM Tile Viewer - [Vb tetris]"));
}

TEST(RedrawTilesBuffered, AnOffsetPastTheEndShowsNoDataEverywhere)
{
    for (const QString &offset : {QStringLiteral("5000"), QStringLiteral("2000")}) {
        FakeViewer v(QByteArray(2000, char(0x55)));
        v.offset = offset;
        auto s = screen();
        tiles::RedrawTilesBuffered(v, *s);
        EXPECT_EQ(v.offset, QStringLiteral("2000"));
        EXPECT_EQ(std::count(s->ScreenBytes.begin(), s->ScreenBytes.begin() + 86108, 4), 86108);
        EXPECT_EQ(v.surface.Point(200, 100), kNoDataColour);
    }
}

// --- Library redraw ------------------------------------------------------------

TEST(RedrawTilesLibrary, TheLinearLayoutDecodesRowsOfNinetySixBytes)
{
    QByteArray image(1000, char(0));
    image[0] = char(0x2D);
    image[999] = char(0xFF);
    FakeViewer v(image);
    v.mode = 1;
    v.shadeSettings = kShades;
    auto s = screen();
    const QString timing = tiles::RedrawTilesLibrary(v, *s);

    const QByteArray &b = s->ScreenBuffer;
    EXPECT_EQ(b.left(4), QByteArray::fromHex("00020301")); // bits 7-6 leftmost
    EXPECT_EQ(b.mid(384 * 10 + 156, 5), QByteArray::fromHex("0303030304"));
    EXPECT_EQ(b.count(char(4)), 86016 - 4000);
    EXPECT_EQ(v.surface.Point(1, 0), shadeColour(2));
    EXPECT_EQ(v.surface.Point(160, 10), kNoDataColour);
    EXPECT_TRUE(timing.startsWith(QStringLiteral("DLL Blit: "))) << timing.toStdString();
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
}

TEST(RedrawTilesLibrary, TheTileLayoutOnlyShowsTheLibrarysBox)
{
    FakeViewer v(QByteArray(4000, char(0xFF)));
    v.shadeSettings = kShades;
    int editMenuOnDuringTheBox = -1;
    msgbox::SetResponder([&](const msgbox::Call &call) {
        testsupport::messageBoxes().calls << call;
        editMenuOnDuringTheBox = v.isEnabled(RedrawControl::mnuEditCopy) + v.isEnabled(RedrawControl::mnuEditSave);
        return int(msgbox::vbOK);
    });
    auto s = screen();
    tiles::RedrawTilesLibrary(v, *s);

    ASSERT_EQ(testsupport::messageBoxes().calls.size(), 1);
    EXPECT_EQ(testsupport::messageBoxes().calls[0].prompt, QStringLiteral("TILES"));
    EXPECT_EQ(editMenuOnDuringTheBox, 0);
    EXPECT_EQ(s->ScreenBuffer, QByteArray(86016, char(0)));
    EXPECT_EQ(v.surface.Point(300, 200), shadeColour(0));
    EXPECT_TRUE(v.isEnabled(RedrawControl::mnuEditCopy));
    EXPECT_TRUE(v.isEnabled(RedrawControl::mnuEditSave));
    EXPECT_EQ(v.enabledHeldControls(), 17);
}

TEST(RedrawTilesLibrary, WithNeitherOptionTheLibraryIsNotAsked)
{
    FakeViewer v(QByteArray(4000, char(0xFF)));
    v.mode = -1;
    v.shadeSettings = kShades;
    auto s = screen();
    tiles::RedrawTilesLibrary(v, *s);
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
    EXPECT_EQ(v.surface.Point(0, 0), shadeColour(0));
}

TEST(RedrawTilesLibrary, AnOffsetPastTheEndIsClampedAndANegativeOneRefused)
{
    FakeViewer v(QByteArray(1000, char(0x11)));
    v.mode = 1;
    v.offset = QStringLiteral("1200");
    auto s = screen();
    tiles::RedrawTilesLibrary(v, *s);
    EXPECT_EQ(v.offset, QStringLiteral("1000"));
    EXPECT_EQ(s->ScreenBuffer.count(char(4)), 86016);

    v.offset = QStringLiteral("-96");
    s->ScreenBuffer.clear();
    EXPECT_EQ(ErrorNumber([&] { tiles::RedrawTilesLibrary(v, *s); }), 5);
    EXPECT_EQ(s->ScreenBuffer, QByteArray(86016, char(0))); // the library was not asked
    EXPECT_EQ(v.enabledHeldControls(), 17);
    EXPECT_EQ(v.caption, QStringLiteral("ROM Tile Viewer - [Vb tetris]"));
}

TEST(BlitOnly, ShowsScreenBufferAgainAndRefusesAnEmptyOne)
{
    FakeViewer v;
    v.shadeSettings = kShades;
    auto s = screen();
    EXPECT_EQ(ErrorNumber([&] { tiles::BlitOnly(v, *s); }), 5);
    s->ScreenBuffer = codes(0, 86016, 3);
    tiles::BlitOnly(v, *s);
    EXPECT_EQ(v.surface.Point(100, 100), shadeColour(3));
}
