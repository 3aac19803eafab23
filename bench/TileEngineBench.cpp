// The tile engine's roads beside a memcpy of the picture they produce
// (384 x 224 pixels of 32 bits): the live walk with its yields doing
// nothing and with window events let through, the buffered decode, and
// each blit. The goal: the walk within 3x of the memcpy.

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "FastBlit.h"
#include "Forms.h"
#include "PictureBox.h"
#include "ScreenBlit.h"
#include "TileRedraw.h"

namespace {

constexpr size_t kPictureBytes = size_t(tiles::kPicturePixels) * sizeof(uint32_t);

QByteArray RandomImage(int size)
{
    std::mt19937 random(7);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(random());
    return bytes;
}

// A viewer with a full screen of tiles to draw.
struct BenchViewer : tiles::TileViewerWindow {
    QByteArray rom = RandomImage(1 << 20);
    QString offset = QStringLiteral("0");
    bool letEventsRun = false;
    controls::PictureSurface surface{QSize(tiles::kPictureWidth, tiles::kPictureHeight), 0};

    QByteArray romData() const override { return rom; }
    int32_t romLength() const override { return int32_t(rom.size()); }
    QString offsetText() const override { return offset; }
    void setOffsetText(const QString &text) override { offset = text; }
    QString widthText() const override { return QStringLiteral("48"); }
    QString fileLengthText() const override { return QString::number(rom.size()); }
    QByteArray romTitle() const override { return QByteArrayLiteral("BENCH"); }
    void setViewWidth(int16_t) override {}
    void setCaption(const QString &) override {}
    void setUpdateCaption(const QString &) override {}
    void setControlEnabled(tiles::RedrawControl, bool) override {}
    int autoUpdateValue() const override { return 0; }
    int displayMode() const override { return 1; }
    controls::PictureSurface &picture() override { return surface; }
    int32_t swatchColour(int index) const override { return controls::RGB(64 * index, 0, 0); }
    tiles::TileShades shades() const override
    {
        return {TileShade{255, 0, 0}, TileShade{192, 0, 0}, TileShade{128, 0, 0}, TileShade{64, 0, 0}};
    }
    bool yield() override
    {
        if (letEventsRun)
            forms::DoEvents();
        return false;
    }
};

void BM_MemcpyOfThePicture(benchmark::State &state)
{
    std::vector<uint32_t> from(tiles::kPicturePixels, 0x123456), to(tiles::kPicturePixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kPictureBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPictureBytes));
}
BENCHMARK(BM_MemcpyOfThePicture);

void BM_RedrawTiles(benchmark::State &state)
{
    BenchViewer viewer;
    viewer.letEventsRun = state.range(0) != 0;
    for (auto _ : state)
        tiles::RedrawTiles(viewer);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPictureBytes));
}
BENCHMARK(BM_RedrawTiles)->ArgName("events")->Arg(0)->Arg(1);

void BM_RedrawTilesBuffered(benchmark::State &state)
{
    BenchViewer viewer;
    auto screen = std::make_unique<tiles::ScreenBuffers>();
    for (auto _ : state)
        tiles::RedrawTilesBuffered(viewer, *screen);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPictureBytes));
}
BENCHMARK(BM_RedrawTilesBuffered);

// blitScreen onto the viewer's picture: codes through the palette, then FastBlit.
void BM_BlitScreen(benchmark::State &state)
{
    controls::PictureSurface picture(QSize(tiles::kPictureWidth, tiles::kPictureHeight), 0);
    auto screen = std::make_unique<tiles::ScreenBuffers>();
    QByteArray codes(tiles::kPicturePixels, Qt::Uninitialized);
    for (int i = 0; i < codes.size(); ++i)
        codes[i] = char(i % 5);
    const BenchViewer viewer;
    for (auto _ : state)
        screen->blitScreen(codes, viewer.shades(), picture);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPictureBytes));
}
BENCHMARK(BM_BlitScreen);

// Each FastBlit format onto the viewer's picture: the copy into the cached
// section and the transfer.
void BM_FastBlit(benchmark::State &state)
{
    controls::PictureSurface picture(QSize(tiles::kPictureWidth, tiles::kPictureHeight), 0);
    tiles::FastBlit blit;
    std::vector<uint32_t> deep(tiles::kPicturePixels, 0x00FF8040);
    std::vector<uint16_t> shallow(tiles::kPicturePixels, 0x7C1F);
    for (auto _ : state) {
        switch (state.range(0)) {
        case 32: blit.FastBlit32(deep, picture, tiles::kPictureWidth, tiles::kPictureHeight); break;
        case 16: blit.FastBlit16(shallow, picture, tiles::kPictureWidth, tiles::kPictureHeight); break;
        default: blit.FastBlit15(shallow, picture, tiles::kPictureWidth, tiles::kPictureHeight); break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPictureBytes));
}
BENCHMARK(BM_FastBlit)->ArgName("bits")->Arg(32)->Arg(16)->Arg(15);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
