#include "core/engine/CommonFolder.h"

#include <filesystem>

namespace zv {

std::string CommonFolder(const std::vector<std::string>& paths) {
    namespace fs = std::filesystem;
    if (paths.empty())
        return {};
    fs::path common = fs::path(paths[0]).parent_path();
    for (const std::string& path : paths) {
        const fs::path folder = fs::path(path).parent_path();
        fs::path shared;
        auto a = common.begin();
        auto b = folder.begin();
        for (; a != common.end() && b != folder.end() && *a == *b; ++a, ++b)
            shared /= *a;
        common = shared;
    }
    return common.string();
}

}  // namespace zv
