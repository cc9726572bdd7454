#include "core/engine/RunParameters.h"

namespace zv {

std::string RunParameters::ProjectFilePath() const {
    return projectFolder + "/" + projectFileName;
}

std::string RunParameters::WorkDatabasePath() const {
    return ProjectFilePath() + ".TMP";
}

std::string RunParameters::BackupPath() const {
    return ProjectFilePath() + ".TMP" + ".TMP";
}

}  // namespace zv
