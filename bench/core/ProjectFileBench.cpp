// Saving and loading one large project, one operation per process, so that
// `/usr/bin/time -v` reports the peak memory of that operation alone
// (bench/core/project-file-scale runs both at 100,000 and 1,000,000 items).
//   project_file_bench save ITEMS FILE   writes ITEMS single-file items, placed
//   project_file_bench load FILE         reads the project back

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/project/ProjectFile.h"

namespace {

using namespace zv;

// Paths as deep as a photo archive's, sizes of a few megabytes, twenty items
// to a medium.
std::vector<ProjectItem> Items(int count) {
    std::vector<ProjectItem> items;
    items.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::string path = "/home/user/Pictures/" + std::to_string(2000 + i / 50000) + "/" +
                           std::to_string(i / 1000 % 50) + "/IMG_" + std::to_string(i) + ".jpg";
        items.push_back({path, i / 20 + 1, {{path, 2'000'000.0 + i}}});
    }
    return items;
}

int Usage() {
    std::cerr << "usage: project_file_bench save ITEMS FILE | load FILE\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto start = std::chrono::steady_clock::now();
    if (args.size() == 3 && args[0] == "save") {
        const std::vector<ProjectItem> items = Items(std::atoi(args[1].c_str()));
        std::filesystem::remove(args[2]);
        Status why;
        if (!ProjectFile::Write(args[2], items, RunSettings{}, &why)) {
            std::cerr << why.message() << '\n';
            return 1;
        }
    } else if (args.size() == 2 && args[0] == "load") {
        const auto data = ProjectFile::Read(args[1], RunSettings{});
        if (!data) {
            std::cerr << "not a project\n";
            return 1;
        }
        std::cout << data->items.size() << " items, ";
    } else {
        return Usage();
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::cout << args[0] << " took " << took.count() << " s\n";
    return 0;
}
