// Reading a settings store that holds one long binary value wrapped over
// lines, as Windows exports it: the time grows in proportion to its length.

#include "Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kKey = QStringLiteral("Software\\Bench");

// A store whose "Long" value has `bytes` bytes, 25 to a line.
QByteArray StoreText(int64_t bytes)
{
    QByteArray text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Bench]\r\n\"Long\"=hex:";
    text.reserve(bytes * 3 + bytes / 25 * 5 + 64);
    for (int64_t i = 0; i < bytes; ++i) {
        text += "a5";
        if (i + 1 < bytes)
            text += (i % 25 == 24) ? ",\\\r\n  " : ",";
    }
    return text + "\r\n";
}

void BM_ReadWrappedValue(benchmark::State &state)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QDir().mkpath(config.path() + QStringLiteral("/zandrel"));
    QFile file(registry::StoreFilePath());
    if (!file.open(QIODevice::WriteOnly) || file.write(StoreText(state.range(0))) < 0)
        qFatal("cannot write the store");
    file.close();
    for (auto _ : state) {
        registry::Reload();
        const auto value = registry::QueryValue(registry::Hive::CurrentUser, kKey, QStringLiteral("Long"));
        if (!value || value->data.size() != state.range(0))
            state.SkipWithError("the value was not read whole");
        benchmark::DoNotOptimize(value);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_ReadWrappedValue)->RangeMultiplier(2)->Range(128 << 10, 2 << 20)->Complexity()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
