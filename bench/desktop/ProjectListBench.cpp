// A project of 100,000 items in the real project window: the time to load it
// from its file and show the file list, to scroll the list to its end and
// back, and to show the list again after one item was deleted.
//
//   bench/make-tree /tmp/zv-tree
//   project_list_bench /tmp/zv-tree [--benchmark_filter=...]
//
// The items are the tree's files as single items.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/project/ProjectFile.h"
#include "core/settings/ProgramPaths.h"
#include "desktop/platform/QtUi.h"
#include "desktop/projectwindow/ProjectListModel.h"
#include "desktop/projectwindow/ProjectListView.h"
#include "desktop/projectwindow/ProjectWindow.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

std::string tree;
std::string project;

// Writes the tree's files as one project of single items, once.
bool WriteProject(const std::string& folder) {
    std::vector<ProjectItem> items;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(tree)) {
        if (entry.is_regular_file()) {
            const std::string path = entry.path().string();
            items.push_back({path, 0, {{path, static_cast<double>(entry.file_size())}}});
        }
    }
    project = folder + "/tree.mtb";
    std::cerr << items.size() << " items\n";
    return ProjectFile::Write(project, items, RunSettings());
}

// Lets the window draw what it shows now.
void Draw(QWidget& window) {
    window.repaint();
    QCoreApplication::processEvents();
}

void BM_LoadAndShow(benchmark::State& state) {
    int rows = 0;
    for (auto _ : state) {
        ProjectWindow window;
        window.resize(800, 600);
        window.show();
        QCoreApplication::processEvents();
        if (!window.LoadProject(project))
            state.SkipWithError("the project did not load");
        Draw(window);
        rows = window.ListView(ProjectList::Files)->Model().rowCount();
        state.PauseTiming();
        window.close();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
}

// One window for the steps that follow a load.
class ShownProject {
  public:
    ShownProject() {
        window_.resize(800, 600);
        window_.show();
        static_cast<void>(window_.LoadProject(project));
        Draw(window_);
    }
    ProjectWindow& Window() { return window_; }
    ProjectListView& List() { return *window_.ListView(ProjectList::Files); }

  private:
    ProjectWindow window_;
};

void BM_ScrollToTheEndAndBack(benchmark::State& state) {
    ShownProject shown;
    QScrollBar& bar = *shown.List().verticalScrollBar();
    for (auto _ : state) {
        bar.setValue(bar.maximum());
        Draw(shown.Window());
        bar.setValue(0);
        Draw(shown.Window());
    }
}

void BM_ShowAgainAfterOneDelete(benchmark::State& state) {
    ShownProject shown;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<ItemRecord>& items = shown.Window().Document().Items();
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(items.size() / 2));
        state.ResumeTiming();
        shown.Window().RenderList(ProjectList::Files, "", 0);
        Draw(shown.Window());
    }
}

BENCHMARK(BM_LoadAndShow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScrollToTheEndAndBack)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ShowAgainAfterOneDelete)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]).rfind("--", 0) == 0) {
        std::cerr << "usage: project_list_bench TREE [--benchmark_...]\n";
        return 2;
    }
    zv::tree = argv[1];
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const zv::QtUi ui;
    // The windows read their defaults from a settings file of their own here.
    QTemporaryDir folder;
    zv::SetProgramFolder(folder.path().toStdString());
    if (!zv::WriteProject(folder.path().toStdString())) {
        std::cerr << "the project could not be written\n";
        return 1;
    }
    argv[1] = argv[0];
    --argc;
    ++argv;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
