// A project of 32,766 single-file items: saving and loading it, and a whole
// run that fills a few hundred DVDs, with the time spent searching reported
// apart (each medium's search is cut off after 20 ms, so that the figure is
// the run's own).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/core/BenchItems.h"
#include "core/project/PlanRun.h"
#include "core/project/ProjectFile.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

constexpr int kItems = 32766;

std::string Folder() {
    static const std::string folder = [] {
        const fs::path path = fs::temp_directory_path() / "zarvopack-run-bench";
        fs::create_directories(path);
        return path.string();
    }();
    return folder;
}

const std::vector<ProjectItem>& Items() {
    static const std::vector<ProjectItem> items = RandomItems(kItems, 10e6, 80e6, 11);
    return items;
}

RunSettings Settings() {
    RunSettings settings;
    settings.MediaSize = "4707319808";
    settings.DiffSize = 4707319;
    settings.MediaNum = 32766;
    settings.MaxFile = 32766;
    return settings;
}

void BM_SaveProject(benchmark::State& state) {
    const std::string path = Folder() + "/save.mtb";
    for (auto _ : state) {
        benchmark::DoNotOptimize(ProjectFile::Write(path, Items(), Settings()));
    }
}

void BM_LoadProject(benchmark::State& state) {
    const std::string path = Folder() + "/load.mtb";
    ProjectFile::Write(path, Items(), Settings());
    for (auto _ : state) {
        auto project = ProjectFile::Read(path, Settings());
        benchmark::DoNotOptimize(project);
    }
}

void BM_WholeRun(benchmark::State& state) {
    QuietObserver observer;
    for (auto _ : state) {
        observer = QuietObserver();
        RunRequests requests;
        benchmark::DoNotOptimize(RunPlan(Items(), Settings(), requests, observer, {0.02}));
    }
    state.counters["media"] = observer.media;
    state.counters["search_s"] = observer.searchSeconds;
}

BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeRun)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zv

BENCHMARK_MAIN();
