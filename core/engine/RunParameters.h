#pragma once

#include <cstdint>
#include <string>

#include "core/engine/FileSystemAllowance.h"
#include "core/engine/PackingMethod.h"

namespace zv {

// The working copy of the run settings that the engine reads during one run.
struct RunParameters {
    double mediaSize = 0;  // bytes
    int16_t mediaCount = 0;
    int16_t minItems = 0;
    int16_t maxItems = 0;
    double tolerance = 0;  // bytes
    bool fastSearch = false;
    PackingMethod method = PackingMethod::Sequential;
    FileSystemAllowance fileSystem = FileSystemAllowance::None;
    std::string projectFileName;  // name part of the project file's path
    std::string projectFolder;    // folder part of the project file's path
    std::string itemTableName = "MainDB";
    std::string providerVersion = "4.0";

    std::string ProjectFilePath() const;
    std::string WorkDatabasePath() const;  // the project file + ".TMP"
};

}  // namespace zv
