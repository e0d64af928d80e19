#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

// Counts every allocation of the process (global operator new and the core library's default
// manager) so that each benchmark can report allocations per operation.
namespace AllocationCounter {

uint64_t count();
void installCountingDefaultManager();

// Sets the "allocs/op" counter from the allocations made since `start`.
inline void report(benchmark::State& state, uint64_t start)
{
    state.counters["allocs/op"] =
        benchmark::Counter(double(count() - start), benchmark::Counter::kAvgIterations);
}

} // namespace AllocationCounter
