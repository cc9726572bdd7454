// Whole project files: each input is written to a file and loaded. What loads
// is saved again and must load back as it was.

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "core/project/ProjectFile.h"
#include "fuzz/FuzzInput.h"

namespace {

using namespace zv;

// A file that a load may leave beside the project must not reach the next input.
void RemoveWithSideFiles(const std::string& path) {
    std::error_code ignored;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        std::filesystem::remove(path + suffix, ignored);
}

std::optional<ProjectData> Load(const std::string& path) {
    try {
        return ProjectFile::Read(path, RunSettings{});
    } catch (const PlatformError&) {
        return std::nullopt;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = fuzz::Folder() + "/input.mtb";
    const std::string saved = fuzz::Folder() + "/saved.mtb";
    RemoveWithSideFiles(input);
    fuzz::WriteFile(input, {reinterpret_cast<const char*>(data), size});
    const std::optional<ProjectData> loaded = Load(input);
    if (!loaded)
        return 0;

    RemoveWithSideFiles(saved);
    if (!ProjectFile::Write(saved, loaded->items, loaded->settings)) {
        std::cerr << "a project that loads could not be saved\n";
        std::abort();
    }
    const std::optional<ProjectData> reloaded = Load(saved);
    if (!reloaded || loaded->items != reloaded->items || loaded->settings != reloaded->settings) {
        std::cerr << "a saved project did not load back as it was\n";
        std::abort();
    }
    return 0;
}
