// Search steps per second on one medium of a few hundred items, in normal and
// fast mode. The search is cut off after a fixed number of batches so that
// every iteration does the same amount of work.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/engine/CombinationSearch.h"

namespace zv {
namespace {

class BatchLimit : public SearchDisplay {
  public:
    explicit BatchLimit(int batches) : left_(batches) {}
    void StepsDone() override {}
    void SizeLowered() override {}
    bool DeadlinePassed() override { return --left_ <= 0; }
    void PauseWait() override {}

  private:
    int left_;
};

std::vector<double> Items(int count, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> megabytes(0.5, 60.0);
    std::vector<double> sizes(count);
    for (double& s : sizes)
        s = static_cast<double>(static_cast<long long>(megabytes(random) * 1e6));
    std::sort(sizes.rbegin(), sizes.rend());
    return sizes;
}

void SearchSteps(benchmark::State& state, bool fast) {
    RunParameters params;
    params.capacityBytes = 4707319808.0;  // DVD-R
    params.tolerance = 0;
    params.maxItems = 32766;
    params.fastSearch = fast;
    const std::vector<double> sizes = Items(static_cast<int>(state.range(0)), 7);

    long long steps = 0;
    for (auto _ : state) {
        RunRequests requests;
        BatchLimit limit(64);
        CombinationSearch search(params, requests, limit);
        search.SetItemSizes(sizes);
        const CapacityResult bound = search.CapacityBound();
        search.SearchMedium(bound.k);
        steps += search.StepCount();
        benchmark::DoNotOptimize(search.BestTotal());
    }
    state.SetItemsProcessed(steps);
    state.counters["steps"] = static_cast<double>(steps) / state.iterations();
}

void BM_SearchNormal(benchmark::State& state) {
    SearchSteps(state, false);
}
void BM_SearchFast(benchmark::State& state) {
    SearchSteps(state, true);
}

BENCHMARK(BM_SearchNormal)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchFast)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zv

BENCHMARK_MAIN();
