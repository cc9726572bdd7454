// A project of 100,000 items in the real project window: the time to load it
// from its file and show the file list, to scroll the list to its end and
// back, and to show the list again after one item was deleted.
//
//   bench/make-tree /tmp/zv-tree
//   project_list_bench /tmp/zv-tree [COUNT] [--benchmark_filter=...]
//
// The items are the tree's files as single items, the first COUNT of them
// when a count is given.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bench/desktop/BenchArguments.h"
#include "core/project/ItemRecord.h"
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
std::size_t count = 0;
std::string project;
// The same items as the window keeps them.
std::vector<ItemRecord> records;

// Writes the tree's files as one project of single items, once.
bool WriteProject(const std::string& folder) {
    std::vector<ProjectItem> items;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(tree)) {
        if (count > 0 && items.size() == count)
            break;
        if (entry.is_regular_file()) {
            const std::string path = entry.path().string();
            items.push_back({path, 0, {{path, static_cast<double>(entry.file_size())}}});
            ItemRecord record;
            record.Files = {FileRef::Get(path)};
            record.Name = path;
            record.Size = static_cast<double>(entry.file_size());
            records.push_back(std::move(record));
        }
    }
    project = folder + "/tree.mtb";
    std::cerr << items.size() << " items\n";
    return ProjectFile::Write(project, items, RunSettings());
}

bool Loadable() {
    return !project.empty() && fs::exists(project);
}

// Lets the window draw what it shows now.
void Draw(QWidget& window) {
    window.repaint();
    QCoreApplication::processEvents();
}

void BM_LoadAndShow(benchmark::State& state) {
    if (!Loadable()) {
        state.SkipWithError("no project file");
        return;
    }
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

// The items put into a shown window's document, and the list drawn: the
// window's part of a load, for more items than a project file of today's
// layout holds.
void BM_ShowItemsInMemory(benchmark::State& state) {
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ProjectWindow window;
        window.resize(800, 600);
        window.show();
        QCoreApplication::processEvents();
        window.Document().Items() = records;
        state.ResumeTiming();
        window.RenderList(ProjectList::Files, "", 0);
        Draw(window);
        rows = window.ListView(ProjectList::Files)->Model().rowCount();
    }
    state.counters["rows"] = rows;
}

// One window for the steps that follow a load (or, for more items than a
// project file holds, the items put into its document).
class ShownProject {
  public:
    ShownProject() {
        window_.resize(800, 600);
        window_.show();
        if (Loadable()) {
            static_cast<void>(window_.LoadProject(project));
        } else {
            window_.Document().Items() = records;
            window_.RenderList(ProjectList::Files, "", 0);
        }
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

BENCHMARK(BM_ShowItemsInMemory)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadAndShow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScrollToTheEndAndBack)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ShowAgainAfterOneDelete)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = zv::TakeLeadingArguments(argc, argv, 2);
    if (arguments.empty()) {
        std::cerr << "usage: project_list_bench TREE [COUNT] [--benchmark_...]\n";
        return 2;
    }
    zv::tree = arguments[0];
    if (arguments.size() > 1)
        zv::count = std::stoul(arguments[1]);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const zv::QtUi ui;
    // The windows read their defaults from a settings file of their own here.
    QTemporaryDir folder;
    zv::SetProgramFolder(folder.path().toStdString());
    // A file the project file cannot hold leaves the loading benchmarks out.
    if (!zv::WriteProject(folder.path().toStdString()))
        std::cerr << "no project file of these items: only the window's part is measured\n";
    return zv::RunBenchmarks(argc, argv);
}
