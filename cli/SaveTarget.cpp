#include "cli/SaveTarget.h"

#include <filesystem>
#include <system_error>

#include "cli/CliOptions.h"
#include "core/db/ProjectSideFiles.h"
#include "core/platform/AtomicReplace.h"

namespace zv {

namespace fs = std::filesystem;

namespace {

// As many links as the system itself follows before it gives up.
constexpr int kMaxLinks = 40;

}  // namespace

std::string SaveTarget(const std::string& path) {
    fs::path target = fs::absolute(path);
    for (int links = 0;; ++links) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(target, error)))
            return target.string();
        if (links == kMaxLinks)
            throw Failure("'" + path + "' is a chain of symbolic links that does not end");
        const fs::path next = fs::read_symlink(target, error);
        if (error)
            throw Failure("cannot read the link '" + target.string() + "': " + error.message());
        // A relative link is relative to the folder that holds it.
        target = target.parent_path() / next;
    }
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
