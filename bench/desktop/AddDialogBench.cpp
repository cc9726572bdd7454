// Scanning a folder tree with subfolders in the real add-files dialog and
// filling its list, and how quickly the dialog answers while it does: the
// longest time between two moments it lets the events run (after each
// folder), and how long a scan takes to stop after Esc.
//
//   bench/make-tree /tmp/zv-tree
//   add_dialog_bench /tmp/zv-tree [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <functional>
#include <iostream>
#include <memory>
#include <string>

#include "bench/desktop/BenchArguments.h"
#include "core/platform/HeadlessUi.h"
#include "core/project/ProjectDocument.h"
#include "core/settings/IniFile.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "desktop/dialogs/AddFilesDialog.h"
#include "desktop/platform/QtUi.h"

namespace zv {
namespace {

std::string tree;

// The desktop's services, timing every moment the events may run.
class TimedUi : public HeadlessUi {
  public:
    explicit TimedUi(QtUi& desktop) : desktop_(desktop) { SetUi(this); }
    ~TimedUi() override { SetUi(&desktop_); }

    MsgResult MessageBox(const MessageBoxRequest& request) override {
        std::cerr << "message box: " << request.text << '\n';
        return DefaultAnswer(request.buttons, request.defaultButton);
    }
    void Yield() override {
        Lap();
        desktop_.Yield();
        if (atYield)
            atYield(yields_);
    }
    void YieldNow() override {
        Lap();
        desktop_.YieldNow();
    }

    void Start() {
        clock_.start();
        last_ = 0;
        longestGap_ = 0;
        yields_ = 0;
    }
    double LongestGapMs() const { return longestGap_ / 1e6; }
    // Since the last yield.
    double SinceLastMs() const { return (clock_.nsecsElapsed() - last_) / 1e6; }

    // Called after every time-sliced yield with the number of yields so far.
    std::function<void(int)> atYield;

  private:
    void Lap() {
        const qint64 now = clock_.nsecsElapsed();
        longestGap_ = std::max(longestGap_, now - last_);
        last_ = now;
        ++yields_;
    }

    QtUi& desktop_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longestGap_ = 0;
    int yields_ = 0;
};

TimedUi* timed = nullptr;

// A dialog on the top of the tree, with its first scan (the top folder holds
// only folders) done.
std::unique_ptr<AddFilesDialog> OpenOnTree(ProjectDocument& target) {
    const SettingsKey& last = settings_keys::LastAddFolder;
    static_cast<void>(IniFile(SettingsFilePath()).Write(last.section, last.name, tree));
    static QObject window;
    auto dialog = std::make_unique<AddFilesDialog>(
        nullptr, AddTarget{&window, &target, [](const std::string&) {}});
    dialog->show();
    while (dialog->Busy() || !dialog->findChild<QTreeView*>("objListView(0)")->isVisible())
        QCoreApplication::processEvents();
    return dialog;
}

int Rows(const AddFilesDialog& dialog) {
    return dialog.findChild<QTreeView*>("objListView(0)")->model()->rowCount();
}

void ClickSubfolders(AddFilesDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QCheckBox*>("objCheck(0)"), Qt::LeftButton);
}

void BM_ScanTreeWithSubfolders(benchmark::State& state) {
    ProjectDocument target;
    double gap = 0;
    double afterWalk = 0;
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<AddFilesDialog> dialog = OpenOnTree(target);
        timed->Start();
        state.ResumeTiming();

        ClickSubfolders(*dialog);

        state.PauseTiming();
        afterWalk = std::max(afterWalk, timed->SinceLastMs());
        gap = std::max(gap, timed->LongestGapMs());
        rows = Rows(*dialog);
        dialog.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["longest_gap_ms"] = gap;
    state.counters["fill_after_last_yield_ms"] = afterWalk;
}

void BM_EscStopsTheScan(benchmark::State& state) {
    ProjectDocument target;
    double stopMs = 0;
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<AddFilesDialog> dialog = OpenOnTree(target);
        QElapsedTimer sinceEsc;
        // Half way through the walk: the walk comes after the progress total
        // has been added up over the same 1,111 folders.
        timed->atYield = [&](int yields) {
            if (yields != 1111 + 11 + 555 || sinceEsc.isValid())
                return;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(dialog.get(), &press);
            QCoreApplication::sendEvent(dialog.get(), &release);
            sinceEsc.start();
        };
        timed->Start();
        state.ResumeTiming();

        ClickSubfolders(*dialog);

        state.PauseTiming();
        stopMs = std::max(stopMs, sinceEsc.nsecsElapsed() / 1e6);
        timed->atYield = nullptr;
        rows = Rows(*dialog);
        if (!dialog->isVisible())
            state.SkipWithError("Esc closed the dialog in the middle of a scan");
        dialog.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["stop_after_esc_ms"] = stopMs;
}

BENCHMARK(BM_ScanTreeWithSubfolders)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EscStopsTheScan)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = zv::TakeLeadingArguments(argc, argv, 1);
    if (arguments.empty()) {
        std::cerr << "usage: add_dialog_bench TREE [--benchmark_...]\n";
        return 2;
    }
    zv::tree = arguments[0];
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // The dialog remembers its folder in a settings file of its own here.
    QTemporaryDir programFolder;
    zv::SetProgramFolder(programFolder.path().toStdString());
    zv::QtUi desktop;
    zv::TimedUi timedUi(desktop);
    zv::timed = &timedUi;
    return zv::RunBenchmarks(argc, argv);
}
