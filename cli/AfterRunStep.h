#pragma once

#include <string>
#include <vector>

#include "core/engine/RunSettings.h"
#include "core/project/MediumExport.h"
#include "core/project/ProjectFile.h"

namespace zv {

// The after-run action of a project whose run ended normally.
struct AfterRunStep {
    std::string project;
    const std::vector<ProjectItem>& items;
    const RunSettings& settings;
    // The user confirmed the action now (--after-run, or a plan's action
    // from this machine's settings file): it is recorded as confirmed for
    // the project. Without, only an action confirmed before is carried out.
    bool confirmedNow = false;
    bool force = false;
};

// Carries out the step's action as export would, naming on standard error
// what it will write, then what it wrote; an action never confirmed is
// named there instead and left undone. Throws Failure when the export fails,
// and Stopped when a stop signal ended it (the project keeps the new plan).
void CarryOutAfterRun(const AfterRunStep& step, const ExportProgress& progress);

}  // namespace zv
