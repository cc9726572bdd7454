// Damaged project files: a valid project with a plan is built once, and each
// input is a list of byte edits to it (three bytes of offset, one of value).
// A load of the edited file must never crash, and one that succeeds without
// the caller accepting a checksum mismatch must give back exactly the items
// and plan that were written.

#include <cstdlib>
#include <iostream>
#include <iterator>

#include "core/project/ProjectFile.h"
#include "fuzz/FuzzInput.h"

namespace {

using namespace zv;

const std::vector<ProjectItem> kItems{
    {"/data/a.txt", 1, {{"/data/a.txt", 600}}},
    {"Photos", 2, {{"/data/p/1.jpg", 120}, {"/data/p/2.jpg", 80.5}}},
    {"/data/unplaced.bin", 0, {{"/data/unplaced.bin", 5000}}},
    {"/data/b.txt", 1, {{"/data/b.txt", 300}}},
};

const std::string& Original() {
    static const std::string bytes = [] {
        const std::string path = fuzz::Folder() + "/original.mtb";
        std::filesystem::remove(path);
        if (!ProjectFile::Create(path, kItems, RunSettings{}).ok()) {
            std::cerr << "the original project could not be written\n";
            std::abort();
        }
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes = Original();
    for (size_t i = 0; i + 4 <= size; i += 4) {
        const size_t offset =
            (size_t{data[i]} | size_t{data[i + 1]} << 8 | size_t{data[i + 2]} << 16);
        bytes[offset % bytes.size()] = static_cast<char>(data[i + 3]);
    }
    const std::string path = fuzz::Folder() + "/edited.mtb";
    std::error_code ignored;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        std::filesystem::remove(path + suffix, ignored);
    fuzz::WriteFile(path, bytes);
    try {
        const std::optional<ProjectData> loaded = ProjectFile::Read(path, RunSettings{});
        if (loaded && loaded->items != kItems) {
            std::cerr << "a damaged project loaded with other items than were written\n";
            std::abort();
        }
    } catch (const ChecksumMismatchError&) {
        try {
            static_cast<void>(ProjectFile::Read(path, RunSettings{}, true));
        } catch (const PlatformError&) {
        }
    } catch (const PlatformError&) {
    }
    return 0;
}
