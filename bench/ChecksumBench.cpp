// GetVbRomChecksum against the cheapest thing that touches every byte once.

#include "Zandrel.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

std::vector<uint8_t> image(int64_t size)
{
    std::mt19937 random(1995);
    std::uniform_int_distribution<int> byte(1, 255);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    for (uint8_t &b : bytes)
        b = static_cast<uint8_t>(byte(random));
    return bytes;
}

void BM_Checksum(benchmark::State &state)
{
    const std::vector<uint8_t> bytes = image(state.range(0));
    const int32_t flag = static_cast<int32_t>(state.range(1));
    char out[8];
    for (auto _ : state) {
        GetVbRomChecksum(bytes.data(), static_cast<int32_t>(bytes.size()), flag, out);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_PlainByteSum(benchmark::State &state)
{
    const std::vector<uint8_t> bytes = image(state.range(0));
    for (auto _ : state) {
        uint32_t sum = 0;
        for (uint8_t b : bytes)
            sum += b;
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

constexpr int64_t k64KiB = 64 << 10;
constexpr int64_t k4MiB = 4 << 20;

BENCHMARK(BM_PlainByteSum)->ArgName("bytes")->Arg(k64KiB)->Arg(k4MiB);
BENCHMARK(BM_Checksum)->ArgNames({"bytes", "flag"})->ArgsProduct({{k64KiB, k4MiB}, {0, -1}});

} // namespace

BENCHMARK_MAIN();
