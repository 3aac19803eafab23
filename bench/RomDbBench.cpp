// Identifying a folder of ROM images beside a plain read of the same files
// (identification reads each file once and sums each chunk as it is read:
// it should take no more than 1.2 times the plain read); identifying
// folders of many small images through the window, whose file list must
// cost per file whatever the folder's size; and renaming folders of small
// and large images: renames cost per file, not per byte.

#include "MsgBox.h"
#include "RomDatabase.h"
#include "RomFileSystem.h"
#include "RomRenamer.h"
#include "frmVbRomDatabase.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <map>
#include <memory>
#include <random>

namespace {

constexpr std::array<int64_t, 7> kSizes = {64 << 10, 128 << 10, 256 << 10, 512 << 10, 1 << 20, 2 << 20, 4 << 20};
constexpr int kIdentifyFiles = 280;

QTemporaryDir &Scratch()
{
    static QTemporaryDir dir;
    return dir;
}

// Random bytes with zero reserved header bytes: valid images no row knows.
void WriteImage(const QString &path, int64_t size, std::mt19937 &random)
{
    QByteArray image(size, '\0');
    for (char &b : image)
        b = char(random());
    image.replace(size - 544 + 20, 5, QByteArray(5, '\0'));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A folder generated once per process.
QString Folder(const QString &name, int count, const std::function<int64_t(int)> &sizeOf)
{
    const QString folder = QDir(Scratch().path()).filePath(name);
    if (QDir(folder).exists())
        return folder;
    QDir().mkpath(folder);
    std::mt19937 random(1995);
    for (int i = 0; i < count; ++i)
        WriteImage(QDir(folder).filePath(QStringLiteral("rom%1.vb").arg(i, 4, 10, QLatin1Char('0'))), sizeOf(i), random);
    return folder;
}

QString IdentifyFolder()
{
    return Folder(QStringLiteral("identify"), kIdentifyFiles, [](int i) { return kSizes[size_t(i) % kSizes.size()]; });
}

void BM_PlainRead(benchmark::State &state)
{
    const QString folder = IdentifyFolder();
    int64_t bytes = 0;
    for (auto _ : state) {
        for (const QString &name : romdb::ListRomFiles(folder)) {
            QFile file(QDir(folder).filePath(name));
            file.open(QIODevice::ReadOnly);
            const QByteArray image = file.readAll();
            benchmark::DoNotOptimize(image.constData());
            bytes += image.size();
        }
    }
    state.SetBytesProcessed(bytes);
}

void BM_PlainReadReused(benchmark::State &state)
{
    const QString folder = IdentifyFolder();
    int64_t bytes = 0;
    QByteArray buffer(4 << 20, Qt::Uninitialized);
    for (auto _ : state) {
        for (const QString &name : romdb::ListRomFiles(folder)) {
            QFile file(QDir(folder).filePath(name));
            file.open(QIODevice::ReadOnly);
            const qint64 n = file.read(buffer.data(), buffer.size());
            benchmark::DoNotOptimize(buffer.constData());
            bytes += n;
        }
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_PlainReadReused)->Unit(benchmark::kMillisecond);

void BM_IdentifyFolder(benchmark::State &state)
{
    const QString folder = IdentifyFolder();
    romdb::RomDatabase db;
    for (auto _ : state) {
        db.ListFolder(folder);
        db.IdentifyAllFiles(0, 100);
        benchmark::DoNotOptimize(db.files().constData());
    }
    int64_t bytes = 0;
    for (const romdb::RomFileRecord &file : db.files())
        bytes += file.size;
    state.SetBytesProcessed(bytes * state.iterations());
}

constexpr int64_t kSmallImage = 4 << 10;

QString SmallImagesFolder(int count)
{
    return Folder(QStringLiteral("small-%1").arg(count), count, [](int) { return kSmallImage; });
}

void BM_PlainReadSmallImages(benchmark::State &state)
{
    const QString folder = SmallImagesFolder(int(state.range(0)));
    for (auto _ : state) {
        for (const QString &name : romdb::ListRomFiles(folder)) {
            QFile file(QDir(folder).filePath(name));
            file.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(file.readAll().constData());
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A whole identification run as the user starts it, in the window on screen
// (offscreen): every file's line in the list is rewritten as it goes.
void BM_IdentifySmallImagesInWindow(benchmark::State &state)
{
    const QString folder = SmallImagesFolder(int(state.range(0)));
    msgbox::SetResponder([](const msgbox::Call &) { return msgbox::vbYes; });
    frmVbRomDatabase window;
    window.show();
    window.setFilFilePath(folder);
    QApplication::processEvents();
    for (auto _ : state) {
        window.cmdIdentifyRoms_Click();
        if (window.database().files().constLast().state != romdb::RomState::Unknown)
            state.SkipWithError("the run did not identify every file");
    }
    msgbox::SetResponder(nullptr);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Every file taken as a copy of one title, so each is renamed and moved
// through the temporary folder and back.
void BM_RenameFolder(benchmark::State &state)
{
    const int count = int(state.range(0));
    const int64_t size = state.range(1);
    const QString folder = Folder(QStringLiteral("rename-%1-%2").arg(count).arg(size), count, [size](int) { return size; });
    romdb::RunHooks hooks;
    for (auto _ : state) {
        state.PauseTiming();
        QList<romdb::RomFileRecord> files;
        int32_t longest = 0;
        for (const QString &name : romdb::ListRomFiles(folder)) {
            romdb::RomFileRecord file = romdb::RomFileRecord::listed(name);
            file.state = romdb::RomState::Known;
            file.title = QStringLiteral("Croach, The (PD)");
            files << file;
            longest = std::max(longest, int32_t(name.size()));
        }
        romdb::RomRenamer renamer(romdb::RealFileSystem(), hooks, [] { return 42; });
        state.ResumeTiming();
        const romdb::RenameResult result = renamer.run(folder, files, longest, false);
        if (result.outcome != romdb::RunOutcome::Completed)
            state.SkipWithError(qPrintable(result.failure));
    }
    state.SetItemsProcessed(state.iterations() * count);
}

} // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdentifyFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadSmallImages)->ArgName("files")->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdentifySmallImagesInWindow)
    ->ArgName("files")
    ->Arg(1000)
    ->Arg(3000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenameFolder)
    ->ArgNames({"files", "bytes"})
    ->ArgsProduct({{16, 64}, {64 << 10, 4 << 20}})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    // The library binding finds Zandrel.dll beside the program; the window
    // needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
