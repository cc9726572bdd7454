// Whole plans through RunPlan, as both front ends make them: the sequential
// method on N items that each fill a medium of their own (the cost of a
// medium as the media before it grow in number), and the fewest-media method
// on N files of mixed sizes on DVDs. Peak memory: run one case under
// /usr/bin/time -v, e.g.
//   /usr/bin/time -v build/bin/plan_bench --benchmark_filter='Fewest/1000000'

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/core/BenchItems.h"
#include "core/project/PlanRun.h"

namespace zv {
namespace {

void Plan(benchmark::State& state, const std::vector<ProjectItem>& items,
          const RunSettings& settings) {
    QuietObserver observer;
    for (auto _ : state) {
        observer = QuietObserver();
        RunRequests requests;
        const PlanRunResult result = RunPlan(items, settings, requests, observer, {});
        if (result.end != RunEnd::Completed)
            state.SkipWithError("the plan did not complete");
    }
    state.counters["media"] = observer.media;
}

// Items of 999 bytes on media of 1000 bytes: one medium per item.
void BM_SequentialOneItemMedia(benchmark::State& state) {
    const std::vector<ProjectItem> items =
        RandomItems(static_cast<int>(state.range(0)), 999, 999, 3);
    RunSettings settings;
    settings.MediaSize = "1000";
    settings.DiffSize = 1;
    settings.MediaNum = 32766;
    settings.MaxFile = 32766;
    Plan(state, items, settings);
}

// Files of 1 kB to 50 MB on DVDs.
void BM_Fewest(benchmark::State& state) {
    const std::vector<ProjectItem> items =
        RandomItems(static_cast<int>(state.range(0)), 1e3, 50e6, 3);
    RunSettings settings;
    settings.MediaSize = "dvd";
    settings.DiffSize = 4700372;
    settings.MediaNum = 32766;
    settings.MaxFile = 32766;
    settings.Method = PackingMethod::FewestMedia;
    Plan(state, items, settings);
}

BENCHMARK(BM_SequentialOneItemMedia)
    ->Arg(2000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_Fewest)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zv

BENCHMARK_MAIN();
