#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zv::fuzz {

// The input cut at its first `count` zero bytes into count + 1 parts; the last
// part keeps any zero bytes after them. Missing parts are empty.
inline std::vector<std::string> Parts(const uint8_t* data, std::size_t size, std::size_t count) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    for (std::size_t i = 0; i < count; ++i) {
        const auto zero = rest.find('\0');
        parts.emplace_back(rest.substr(0, zero));
        rest = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);
    }
    parts.emplace_back(rest);
    return parts;
}

// A folder of this process's own under the temporary folder, made once.
inline const std::string& Folder() {
    static const std::string folder = [] {
        std::string name =
            (std::filesystem::temp_directory_path() / "zarvopack-fuzz-XXXXXX").string();
        if (mkdtemp(name.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        return name;
    }();
    return folder;
}

inline void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

}  // namespace zv::fuzz
