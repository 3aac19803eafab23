// The tile viewer's redraw as a user waits for it, beside a memcpy of the
// picture it fills (384 x 224 pixels of 32 bits) as the baseline.
//
// BM_UpdateScreen: the real viewer window, shown on the offscreen platform,
// with a 1 MiB image opened through File > Open ROM...; each iteration clicks
// "Update Screen" and lets the window's events run until the picture has
// been painted. That is the whole redraw: clearing, the 48 x 28 tiles with
// the window's events let through after each one, and the repaint of the
// picture. The "paints" counter shows the picture was painted in every
// iteration.
//
// BM_BlitScreen and BM_FastBlit: the bulk roads' blits onto a picture of the
// same size, without a window.
//
// Nothing here sets a goal; the figures are for comparing runs.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "CommonDialog.h"
#include "Controls.h"
#include "FastBlit.h"
#include "MsgBox.h"
#include "PictureBox.h"
#include "ScreenBlit.h"
#include "TileRenderers.h"
#include "frmTileViewer.h"

namespace {

constexpr size_t kPictureBytes = size_t(tiles::kPicturePixels) * sizeof(uint32_t);
constexpr int kImageBytes = 1 << 20;

const tiles::TileShades kShades{TileShade{255, 0, 0}, TileShade{192, 0, 0}, TileShade{128, 0, 0},
                                TileShade{64, 0, 0}};

// Random bytes with the header's reserved bytes zero: an image that passes the check.
QByteArray RandomImage()
{
    std::mt19937 random(7);
    QByteArray image(kImageBytes, Qt::Uninitialized);
    for (char &b : image)
        b = char(random());
    image.replace(kImageBytes - 544 + 20, 5, QByteArray(5, '\0'));
    return image;
}

// Counts the paints a widget gets.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The viewer shown with the image open, as a user has it before pressing
// Update Screen. The settings it reads and writes live in a folder of its own.
class OpenViewer {
public:
    OpenViewer()
    {
        const QString path = QDir(scratch().path()).filePath(QStringLiteral("bench.vb"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(RandomImage()) != kImageBytes)
            qFatal("cannot write %s", qPrintable(path));
        file.close();

        commondialog::SetResponder([path](const commondialog::Request &) { return std::optional<QString>(path); });
        window.load();
        window.show();
        QCoreApplication::processEvents();
        window.mnuFileOpen->trigger();
        commondialog::SetResponder(nullptr);
        if (!window.imageOpen() || !window.cmdUpdate->isEnabled())
            qFatal("the image did not open");
        window.picTileViewer->installEventFilter(&counter);
    }

    static QTemporaryDir &scratch()
    {
        static QTemporaryDir dir;
        return dir;
    }

    frmTileViewer window;
    PaintCounter counter;
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

void BM_UpdateScreen(benchmark::State &state)
{
    OpenViewer viewer;
    for (auto _ : state) {
        viewer.window.cmdUpdate->click();
        // The repaint the redraw asks for as it ends.
        const int paintsBefore = viewer.counter.paints;
        while (viewer.counter.paints == paintsBefore)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPictureBytes));
    state.counters["paints"] = benchmark::Counter(viewer.counter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_UpdateScreen)->Unit(benchmark::kMillisecond);

// blitScreen onto a picture: codes through the palette, then FastBlit.
void BM_BlitScreen(benchmark::State &state)
{
    controls::PictureSurface picture(QSize(tiles::kPictureWidth, tiles::kPictureHeight), 0);
    auto screen = std::make_unique<tiles::ScreenBuffers>();
    QByteArray codes(tiles::kPicturePixels, Qt::Uninitialized);
    for (int i = 0; i < codes.size(); ++i)
        codes[i] = char(i % 5);
    for (auto _ : state)
        screen->blitScreen(codes, kShades, picture);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPictureBytes));
}
BENCHMARK(BM_BlitScreen);

// Each FastBlit format onto a picture: the copy into the cached section and
// the transfer.
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
    // The viewer's settings go to a store of the benchmark's own.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(OpenViewer::scratch().path()).filePath(QStringLiteral("config"))));
    QApplication app(argc, argv);
    // A message box would wait for a person: none is expected.
    msgbox::SetResponder([](const msgbox::Call &call) -> int {
        qFatal("unexpected message box: %s", qPrintable(call.prompt));
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
