#include "core/db/ProjectSideFiles.h"

#include <filesystem>
#include <system_error>

#include "core/db/DatabaseFile.h"
#include "core/platform/FileLock.h"
#include "core/platform/FileOps.h"

namespace zv {

namespace fs = std::filesystem;

namespace {

std::string MovedAsidePath(const std::string& project) {
    return project + ".TMP.TMP";
}

// A project moved aside by a run that was cut off before it put anything in
// the project's place goes back there.
Status ReturnMovedAside(const std::string& project) {
    const std::string movedAside = MovedAsidePath(project);
    std::error_code ignored;
    if (fs::exists(fs::symlink_status(project, ignored)) ||
        !fs::is_regular_file(fs::symlink_status(movedAside, ignored)))
        return {};
    if (Status status = ClearJournals(project); !status.ok())
        return status;
    if (Files().Rename(movedAside.c_str(), project.c_str()) != 0)
        return SystemFailure("cannot move '" + movedAside + "' back to '" + project + "'");
    return SyncFolder(fs::path(project).parent_path().string());
}

}  // namespace

std::string SavingPath(const std::string& project) {
    return project + ".saving";
}

std::string WorkPath(const std::string& project) {
    return project + ".TMP";
}

Status RecoverProjectFile(const std::string& project) {
    FileLock lock(project);
    if (Status status = lock.Take(); !status.ok())
        return status;
    // The side files of a run or save of this very process are at work.
    if (lock.Joined())
        return {};
    // Until the project is back in its place, what was moved aside is all
    // there is of it.
    if (Status status = ReturnMovedAside(project); !status.ok())
        return status;
    Status first;
    // The command line runs on P.saving under the lock of P, so P.saving's own
    // lock is nobody's now.
    for (const std::string& side : {SavingPath(project), WorkPath(project), MovedAsidePath(project),
                                    WorkPath(SavingPath(project)), SavingPath(project) + ".lock"}) {
        Status status = RemoveDatabaseFile(side);
        if (first.ok())
            first = std::move(status);
    }
    return first;
}

}  // namespace zv
