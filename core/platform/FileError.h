#pragma once

#include <system_error>
#include <type_traits>

namespace zv {

// Why the program leaves a file alone, beside the system's own errors.
enum class FileError {
    InUse = 1,  // another run or save of the same file is going on
    ReadOnly,   // the file's write permission is taken away
    NotSynced,  // the new file is in its place, but its folder did not reach the disk
};

const std::error_category& FileErrorCategory();

inline std::error_code make_error_code(FileError error) {
    return {static_cast<int>(error), FileErrorCategory()};
}

}  // namespace zv

template <>
struct std::is_error_code_enum<zv::FileError> : std::true_type {};
