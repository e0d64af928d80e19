// Sequential writes of 256 MiB into memory streams against a growing std::vector.
#include "streams/IZR_MemoryStream.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr size_t kTotal = size_t(256) << 20;

void BM_MemoryStream_Write(benchmark::State& state)
{
    bool consecutive = state.range(0) != 0;
    std::vector<uint8_t> piece(size_t(state.range(1)), 0x5A);
    for (auto _ : state) {
        IZR_MemoryStream* stream = ZR_CreateMemoryStream(consecutive, nullptr);
        for (size_t written = 0; written < kTotal; written += piece.size())
            stream->WriteBlock(piece.data(), piece.size());
        benchmark::DoNotOptimize(stream->GetSize());
        stream->Release();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kTotal));
}

void BM_Vector_Write(benchmark::State& state)
{
    std::vector<uint8_t> piece(size_t(state.range(1)), 0x5A);
    for (auto _ : state) {
        std::vector<uint8_t> data;
        for (size_t written = 0; written < kTotal; written += piece.size())
            data.insert(data.end(), piece.begin(), piece.end());
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kTotal));
}

} // namespace

// Arguments: consecutive (1) or blocks (0), bytes per write.
BENCHMARK(BM_MemoryStream_Write)->Args({1, 4096})->Args({0, 4096})->Args({1, 64})->Args({0, 64})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Vector_Write)->Args({0, 4096})->Args({0, 64})->Unit(benchmark::kMillisecond);
