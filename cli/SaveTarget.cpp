#include "cli/SaveTarget.h"

#include <filesystem>
#include <system_error>

#include "cli/CliOptions.h"
#include "core/db/ProjectSideFiles.h"
#include "core/platform/AtomicReplace.h"

namespace zv {

namespace fs = std::filesystem;

std::string SaveTarget(const std::string& path) {
    std::string target;
    if (const Status status = FinalTarget(fs::absolute(path).string(), target); !status.ok())
        throw Failure(status.message());
    return target;
}

void CheckReplaceable(const std::string& path, bool force) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (status.type() == fs::file_type::not_found)
        return;
    if (error)
        throw Failure("cannot look at '" + path + "': " + error.message());
    if (!fs::is_regular_file(status))
        throw Failure("'" + path + "' is not a regular file; --save replaces only files");
    if (IsReadOnlyFile(path))
        throw Failure("'" + path + "' is read-only; --save does not replace it");
    if (!force && !IsProjectDatabase(path))
        throw Failure("'" + path + "' holds no project; --force replaces it all the same");
}

}  // namespace zv
