// The database side of a run on 32,766 single-file items: saving and loading
// the project, preparing the item table, and a whole run that fills a few
// hundred DVDs, with the time spent searching reported apart (each medium's
// search is cut off after 20 ms, so that the figure is the database's).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/engine/RunDisplay.h"
#include "core/engine/RunEngine.h"
#include "core/engine/WorkDatabase.h"
#include "core/project/ProjectFile.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

constexpr int kItems = 32766;

class QuietObserver : public RunObserver {
  public:
    void StatusChanged(const std::string&) override {}
    void ProgressChanged(int, const ProgressBarState&) override {}
    void Yield() override {}
    void PauseWait() override {}
    void Message(int, const std::string&) override {}
    void MediumChosen(const MediumReport& report) override {
        ++media;
        searchSeconds += report.searchSeconds;
    }
    int media = 0;
    double searchSeconds = 0;
};

std::string Folder() {
    static const std::string folder = [] {
        const fs::path path = fs::temp_directory_path() / "zarvopack-run-bench";
        fs::create_directories(path);
        return path.string();
    }();
    return folder;
}

const std::vector<ProjectItem>& Items() {
    static const std::vector<ProjectItem> items = [] {
        std::mt19937_64 random(11);
        std::uniform_int_distribution<long long> bytes(10'000'000, 80'000'000);
        std::vector<ProjectItem> list;
        for (int i = 0; i < kItems; ++i) {
            const std::string path = "/media/archive/folder" + std::to_string(i % 97) + "/file" +
                                     std::to_string(i) + ".dat";
            list.push_back({path, 0, {{path, static_cast<double>(bytes(random))}}});
        }
        return list;
    }();
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

RunParameters Params(const std::string& project) {
    RunParameters params;
    params.mediaSize = 4707319808.0;
    params.tolerance = 4707319;
    params.mediaCount = 32766;
    params.maxItems = 32766;
    params.projectFolder = fs::path(project).parent_path().string();
    params.projectFileName = fs::path(project).filename().string();
    return params;
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

void BM_PrepareItemTable(benchmark::State& state) {
    const std::string path = Folder() + "/prepare.mtb";
    ProjectFile::Write(path, Items(), Settings());
    const RunParameters params = Params(path);
    QuietObserver observer;
    RunDisplay display(observer);
    for (auto _ : state) {
        state.PauseTiming();
        WorkDatabase work(params, display);
        if (!work.CreateWorkDatabase().ok()) {
            state.SkipWithError("the work database cannot be made");
            break;
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(work.PrepareItemTable());
        state.PauseTiming();
        work.Close();
        work.DiscardWorkDatabase();
        state.ResumeTiming();
    }
}

void BM_WholeRun(benchmark::State& state) {
    const std::string path = Folder() + "/run.mtb";
    const RunParameters params = Params(path);
    QuietObserver observer;
    for (auto _ : state) {
        state.PauseTiming();
        ProjectFile::Write(path, Items(), Settings());
        observer = QuietObserver();
        state.ResumeTiming();
        RunRequests requests;
        benchmark::DoNotOptimize(RunEngine(params, requests, observer, {0.02}));
    }
    state.counters["media"] = observer.media;
    state.counters["search_s"] = observer.searchSeconds;
}

BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrepareItemTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeRun)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zv

BENCHMARK_MAIN();
