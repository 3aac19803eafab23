// FastBlit over the bitmap-section stand-in: the cache and when it is
// rebuilt and released, the three formats, the stretch, the depth probe and
// the failures.

#include <gtest/gtest.h>

#include <vector>

#include "FakeViewer.h"
#include "FastBlit.h"
#include "Gdi.h"
#include "TestSupport.h"
#include "VbError.h"

using tiles::FastBlit;
using tilestest::ErrorNumber;

namespace {

const QStringList kBuild{QStringLiteral("CreateCompatibleDC"), QStringLiteral("CreateDIBSection"),
                         QStringLiteral("SelectObject")};
const QStringList kRelease{QStringLiteral("DeleteDC"), QStringLiteral("DeleteObject")};
const QString kTransfer = QStringLiteral("StretchBlt");

class FastBlitTest : public ::testing::Test {
protected:
    void SetUp() override { gdi::TestJournal() = gdi::Journal{}; }
    void TearDown() override { gdi::TestJournal() = gdi::Journal{}; }

    QStringList takeCalls() { return std::exchange(gdi::TestJournal().calls, QStringList()); }

    controls::PictureSurface box{QSize(384, 224), 0};
};

} // namespace

TEST_F(FastBlitTest, BuildsOnceAndThenOnlyCopiesAndTransfers)
{
    const int live = gdi::LiveObjects();
    std::vector<uint16_t> pixels(384 * 224, 0x001F);
    {
        FastBlit blit;
        blit.FastBlit16(pixels, box, 384, 224);
        EXPECT_EQ(takeCalls(), kBuild + QStringList{kTransfer});
        blit.FastBlit16(pixels, box, 384, 224);
        EXPECT_EQ(takeCalls(), QStringList{kTransfer});
        EXPECT_EQ(blit.BlitDepth(), 16);
        EXPECT_EQ(gdi::LiveObjects(), live + 2);

        // Another format rebuilds, releasing the old section first.
        blit.FastBlit15(pixels, box, 384, 224);
        EXPECT_EQ(takeCalls(), kRelease + kBuild + QStringList{kTransfer});
        EXPECT_EQ(gdi::LiveObjects(), live + 2);
        // So does another size.
        blit.FastBlit15(pixels, box, 192, 112);
        EXPECT_EQ(takeCalls(), kRelease + kBuild + QStringList{kTransfer});
        EXPECT_EQ(blit.BlitWidth(), 192);
    }
    EXPECT_EQ(takeCalls(), kRelease);
    EXPECT_EQ(gdi::LiveObjects(), live);
}

TEST_F(FastBlitTest, AnEmptySizeDoesNothing)
{
    FastBlit blit;
    std::vector<uint32_t> pixels(16);
    blit.FastBlit32(pixels, box, 0, 224);
    blit.FastBlit32(pixels, box, 384, 0);
    EXPECT_TRUE(takeCalls().isEmpty());
    EXPECT_EQ(blit.BlitDepth(), 0);
    EXPECT_EQ(blit.BlitWidth(), 0);
}

TEST_F(FastBlitTest, TheThreeFormatsReadTheirBitsTheirOwnWay)
{
    FastBlit blit;
    std::vector<uint16_t> sixteen(384 * 224, 0xF800);
    sixteen[1] = 0x001F;
    blit.FastBlit16(sixteen, box, 384, 224);
    EXPECT_EQ(box.Point(0, 0), controls::RGB(255, 0, 0));
    EXPECT_EQ(box.Point(1, 0), controls::RGB(0, 0, 255));
    blit.FastBlit15(sixteen, box, 384, 224);
    EXPECT_EQ(box.Point(0, 0), controls::RGB(247, 0, 0)); // red 30 of 31, bit 15 ignored
    EXPECT_EQ(box.Point(1, 0), controls::RGB(0, 0, 255));

    std::vector<uint32_t> deep(384 * 224, 0x00102030);
    deep[384 * 223 + 383] = 0xFF000080;
    blit.FastBlit32(deep, box, 384, 224);
    EXPECT_EQ(box.Point(0, 0), controls::RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(box.Point(383, 223), controls::RGB(0, 0, 0x80)); // top-down rows, bits 24-31 ignored
}

TEST_F(FastBlitTest, StretchesOntoALargerBoxAndSwitchesItToPixels)
{
    controls::PictureSurface large(QSize(768, 448), 0);
    large.ScaleMode = controls::vbTwips;
    std::vector<uint32_t> pixels(384 * 224, 0);
    pixels[1] = 0xFFFFFF;
    FastBlit blit;
    blit.FastBlit32(pixels, large, 384, 224);
    EXPECT_EQ(large.ScaleMode, controls::vbPixels);
    EXPECT_EQ(large.Point(2, 0), controls::RGB(255, 255, 255));
    EXPECT_EQ(large.Point(3, 1), controls::RGB(255, 255, 255));
    EXPECT_EQ(large.Point(1, 1), 0);
    EXPECT_EQ(large.Point(4, 0), 0);
}

TEST_F(FastBlitTest, AFailedSectionIsReportedOnceAndDrawsNothing)
{
    gdi::TestJournal().failCreateDIBSection = true;
    FastBlit blit;
    std::vector<uint16_t> pixels(384 * 224, 0xFFFF);
    blit.FastBlit16(pixels, box, 384, 224);
    blit.FastBlit16(pixels, box, 384, 224);
    const auto &boxes = testsupport::messageBoxes().calls;
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].prompt, QStringLiteral("CreateDIBSection 16 Failed"));
    EXPECT_EQ(boxes[0].style, msgbox::vbOKOnly);
    EXPECT_EQ(blit.BlitDepth(), 16);
    EXPECT_EQ(box.Point(0, 0), 0);
    EXPECT_FALSE(takeCalls().contains(kTransfer));
}

TEST_F(FastBlitTest, AFailedContextSaysNothingAndIsTriedAgain)
{
    gdi::TestJournal().failCreateCompatibleDC = true;
    FastBlit blit;
    std::vector<uint32_t> pixels(384 * 224, 0xFFFFFF);
    blit.FastBlit32(pixels, box, 384, 224);
    EXPECT_TRUE(testsupport::messageBoxes().calls.isEmpty());
    EXPECT_EQ(blit.BlitDepth(), 0);
    EXPECT_EQ(blit.BlitWidth(), 384);

    gdi::TestJournal().failCreateCompatibleDC = false;
    blit.FastBlit32(pixels, box, 384, 224);
    EXPECT_EQ(box.Point(0, 0), controls::RGB(255, 255, 255));
}

TEST_F(FastBlitTest, RefusesPixelsItCannotCopyWhole)
{
    FastBlit blit;
    std::vector<uint32_t> deep(384 * 224, 0xFFFFFF);
    blit.FastBlit32(deep, box, 384, 224);
    const QImage before = box.image();

    std::vector<uint32_t> shortArray(384 * 224 - 1, 0x123456);
    EXPECT_EQ(ErrorNumber([&] { blit.FastBlit32(shortArray, box, 384, 224); }), 9);
    std::vector<uint16_t> sixteen(383 * 2, 0);
    EXPECT_EQ(ErrorNumber([&] { blit.FastBlit16(sixteen, box, 383, 2); }), 5); // odd width
    EXPECT_EQ(ErrorNumber([&] { blit.FastBlit32(deep, box, -384, 224); }), 5);
    EXPECT_EQ(blit.BlitDepth(), 32);
    EXPECT_EQ(box.image(), before);
}

TEST_F(FastBlitTest, TheDepthProbeReadsTheBoxAndLeavesItsPixel)
{
    const struct {
        QImage::Format format;
        int32_t depth;
    } boxes[] = {{QImage::Format_RGB32, 32},
                 {QImage::Format_RGB16, 16},
                 {QImage::Format_RGB555, 15},
                 {QImage::Format_RGB444, 8}};
    for (const auto &b : boxes) {
        controls::PictureSurface surface(QSize(4, 4), controls::RGB(255, 255, 255), b.format);
        EXPECT_EQ(FastBlit::GetScreenBitDepth(surface), b.depth) << b.format;
        EXPECT_EQ(surface.Point(0, 0), controls::RGB(255, 255, 255));
    }
}
