// Exporting a plan of 32,766 files: one folder of links with its SHA256SUMS per
// medium, and one path list per medium. The files are small, so the figures
// are those of the export's own work: the links, the hashing, the lists.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/project/MediumExport.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 32766;
constexpr int kMedia = 40;

std::string Folder() {
    static const std::string folder = [] {
        const fs::path path = fs::temp_directory_path() / "zarvopack-export-bench";
        fs::create_directories(path);
        return path.string();
    }();
    return folder;
}

// Files of 1 to 4 KiB in 300 folders, every file one item, spread over the media.
const std::vector<ProjectItem>& Items() {
    static const std::vector<ProjectItem> items = [] {
        std::vector<ProjectItem> list;
        const std::string content(4096, 'x');
        for (int i = 0; i < kFiles; ++i) {
            const fs::path path = fs::path(Folder()) / "files" /
                                  ("album " + std::to_string(i % 300)) /
                                  ("track " + std::to_string(i) + ".dat");
            if (!fs::exists(path)) {
                fs::create_directories(path.parent_path());
                const auto size = static_cast<size_t>(1024 + (i * 37) % 3072);
                std::FILE* file = std::fopen(path.c_str(), "wb");
                std::fwrite(content.data(), 1, size, file);
                std::fclose(file);
            }
            list.push_back(
                {path.string(), static_cast<int16_t>(1 + i % kMedia), {{path.string(), 0}}});
        }
        return list;
    }();
    return items;
}

void Export(benchmark::State& state, ExportFormat format) {
    const std::vector<ProjectItem>& items = Items();
    const std::string target = Folder() + "/out";
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportMedia(items, "bench", target, format, true));
    state.counters["files"] = kFiles;
    fs::remove_all(target);
}

void LinkFolders(benchmark::State& state) {
    Export(state, ExportFormat::Links);
}
void PathLists(benchmark::State& state) {
    Export(state, ExportFormat::Lists);
}

BENCHMARK(LinkFolders)->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(PathLists)->Unit(benchmark::kSecond)->Iterations(3);

}  // namespace
}  // namespace zv

BENCHMARK_MAIN();
