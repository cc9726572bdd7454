#include "core/engine/RunParameters.h"

#include "core/db/ProjectSideFiles.h"

namespace zv {

std::string RunParameters::ProjectFilePath() const {
    return projectFolder + "/" + projectFileName;
}

std::string RunParameters::WorkDatabasePath() const {
    return WorkPath(ProjectFilePath());
}

}  // namespace zv
