// Search steps per second of a run on a worker thread whose reports go to the
// real run dialog as queued calls, against the same run reporting to nobody,
// on the same project. Each medium's search is cut off after a fixed time, so
// both search for as long as each other; the dialog's thread handles the
// reports meanwhile, as it does in the program.
//
//   run_dialog_bench [--benchmark_filter=...]
//
// After the benchmarks it prints the shown rate as a share of the silent one.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <atomic>
#include <iostream>
#include <random>
#include <thread>
#include <vector>

#include "bench/desktop/BenchArguments.h"
#include "core/project/PlanRun.h"
#include "desktop/dialogs/QueuedRunObserver.h"
#include "desktop/dialogs/RunDialog.h"
#include "desktop/platform/QtUi.h"

namespace zv {
namespace {

constexpr int kItems = 500;
constexpr double kSecondsPerMedium = 1.0;

// Passes the reports on (or drops them) and adds up what each medium's
// search did.
class Tally : public RunObserver {
  public:
    explicit Tally(RunObserver* shown) : shown_(shown) {}

    void StatusChanged(const std::string& text) override {
        if (shown_)
            shown_->StatusChanged(text);
    }
    void ProgressChanged(int bar, const ProgressBarState& state) override {
        if (shown_)
            shown_->ProgressChanged(bar, state);
    }
    void Yield() override {}
    void PauseWait() override {}
    void MediumChosen(const MediumReport& report) override {
        steps += report.searchSteps;
        seconds += report.searchSeconds;
    }
    void SearchRunning(bool running) override {
        if (shown_)
            shown_->SearchRunning(running);
    }
    void DetailChanged(const std::string& text) override {
        if (shown_)
            shown_->DetailChanged(text);
    }

    long long steps = 0;
    double seconds = 0;

  private:
    RunObserver* shown_;
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

RunSettings Settings() {
    RunSettings settings;
    settings.MediaSize = "4707319807";
    settings.MediaNum = 3;
    settings.MaxFile = 32766;
    return settings;
}

double rates[2] = {0, 0};  // steps per second: shown, silent

void RunOnWorker(benchmark::State& state, bool shown) {
    long long steps = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RunDialog dialog(nullptr);
        dialog.show();
        QCoreApplication::processEvents();
        QueuedRunObserver queued(dialog);
        Tally tally(shown ? &queued : nullptr);
        std::atomic<bool> done = false;
        state.ResumeTiming();

        std::thread worker([&] {
            RunOptions options;
            options.mediumTimeLimitSeconds = kSecondsPerMedium;
            benchmark::DoNotOptimize(
                RunPlan(Items(), Settings(), dialog.Requests(), tally, options));
            done = true;
        });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        worker.join();

        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        steps += tally.steps;
        seconds += tally.seconds;
    }
    const double rate = seconds > 0 ? steps / seconds : 0;
    rates[shown ? 0 : 1] = rate;
    state.counters["steps_per_s"] = rate;
    state.counters["search_s"] = seconds / state.iterations();
}

void BM_RunShownInDialog(benchmark::State& state) {
    RunOnWorker(state, true);
}
void BM_RunShownToNobody(benchmark::State& state) {
    RunOnWorker(state, false);
}

BENCHMARK(BM_RunShownInDialog)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK(BM_RunShownToNobody)->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const zv::QtUi ui;
    if (const int status = zv::RunBenchmarks(argc, argv); status != 0)
        return status;
    if (zv::rates[0] > 0 && zv::rates[1] > 0) {
        std::cout << "shown: " << zv::rates[0] / 1e6 << " M steps/s, silent: " << zv::rates[1] / 1e6
                  << " M steps/s, shown/silent: " << 100 * zv::rates[0] / zv::rates[1] << " %\n";
    }
    return 0;
}
