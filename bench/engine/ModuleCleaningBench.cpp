// Cleaning the cloud modules out of a reply's available modules, for replies of growing size: the
// time per module should stay flat.
#include "engine/CReaderModuleManager.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void cleanCloudModules(benchmark::State& state)
{
    MODULEINFO offered;
    for (auto _ : state) {
        state.PauseTiming();
        auto engine = std::make_unique<CReaderModuleManager>("Update List", nullptr);
        // Every eighth module stays.
        for (int64_t i = 0; i < state.range(0); ++i) {
            MODULEINFO* record = engine->CloneAvailableModuleInfo(&offered);
            record->update_mode = i % 8 == 0 ? 0 : 2;
            record->isInternalService = "TRUE";
        }
        state.ResumeTiming();
        engine->DeleteKelvrinCloud();
        benchmark::DoNotOptimize(engine->CountAvailableModule());
        state.PauseTiming();
        engine.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(cleanCloudModules)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
