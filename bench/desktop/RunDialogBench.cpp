// Search steps per second of a run shown in the real run dialog, in normal
// mode (the dialog follows every batch of steps and lets the events run every
// time slice) against fast mode (no progress and no yield between steps), on
// the same project. Each medium's search is cut off after a fixed time, so
// both modes search for as long as each other.
//
//   run_dialog_bench [--benchmark_filter=...]
//
// After the benchmarks it prints the normal rate as a share of the fast one.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <random>
#include <vector>

#include "core/project/PlanRun.h"
#include "desktop/dialogs/RunDialog.h"
#include "desktop/platform/QtUi.h"

namespace zv {
namespace {

constexpr int kItems = 500;
constexpr int kMedia = 3;
constexpr double kSecondsPerMedium = 1.0;

// Shows the run in the dialog and adds up what each medium's search did.
class Tally : public RunObserver {
  public:
    explicit Tally(RunDialog& dialog) : dialog_(dialog) {}

    void StatusChanged(const std::string& text) override { dialog_.StatusChanged(text); }
    void ProgressChanged(int bar, const ProgressBarState& state) override {
        dialog_.ProgressChanged(bar, state);
    }
    void Yield() override { dialog_.Yield(); }
    void PauseWait() override { dialog_.PauseWait(); }
    void MediumChosen(const MediumReport& report) override {
        steps += report.searchSteps;
        seconds += report.searchSeconds;
    }
    void SearchRunning(bool running) override { dialog_.SearchRunning(running); }

    long long steps = 0;
    double seconds = 0;

  private:
    RunDialog& dialog_;
};

// Items of an even number of bytes from 0.5 to 60 MB for media of an odd
// number of bytes with no tolerance: no medium can be filled to the byte, so
// every search runs until it is cut off.
const std::vector<ProjectItem>& Items() {
    static const std::vector<ProjectItem> items = [] {
        std::mt19937_64 random(7);
        std::uniform_real_distribution<double> megabytes(0.5, 60.0);
        std::vector<ProjectItem> list;
        for (int i = 0; i < kItems; ++i) {
            const std::string path = "/media/archive/file" + std::to_string(i) + ".dat";
            const double size = 2.0 * static_cast<long long>(megabytes(random) * 0.5e6);
            list.push_back({path, 0, {{path, size}}});
        }
        return list;
    }();
    return items;
}

RunSettings Settings(bool fast) {
    RunSettings settings;
    settings.MediaSize = "4707319807";
    settings.DiffSize = 0;
    settings.MediaNum = kMedia;
    settings.MaxFile = 32766;
    settings.MaxSpeed = fast;
    return settings;
}

double rates[2] = {0, 0};  // steps per second: normal, fast

void RunThroughDialog(benchmark::State& state, bool fast) {
    long long steps = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RunDialog dialog(nullptr);
        dialog.show();
        QCoreApplication::processEvents();
        Tally tally(dialog);
        state.ResumeTiming();

        RunRequests& requests = dialog.Requests();
        benchmark::DoNotOptimize(
            RunPlan(Items(), Settings(fast), requests, tally, {kSecondsPerMedium}));

        steps += tally.steps;
        seconds += tally.seconds;
    }
    const double rate = seconds > 0 ? steps / seconds : 0;
    rates[fast ? 1 : 0] = rate;
    state.counters["steps_per_s"] = rate;
    state.counters["search_s"] = seconds / state.iterations();
}

void BM_NormalRunInDialog(benchmark::State& state) {
    RunThroughDialog(state, false);
}
void BM_FastRunInDialog(benchmark::State& state) {
    RunThroughDialog(state, true);
}

BENCHMARK(BM_NormalRunInDialog)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK(BM_FastRunInDialog)->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const zv::QtUi ui;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (zv::rates[0] > 0 && zv::rates[1] > 0) {
        std::cout << "normal run: " << zv::rates[0] / 1e6
                  << " M steps/s, fast run: " << zv::rates[1] / 1e6
                  << " M steps/s, normal/fast: " << 100 * zv::rates[0] / zv::rates[1] << " %\n";
    }
    return 0;
}
