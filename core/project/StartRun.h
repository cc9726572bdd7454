#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/engine/PlanRunResult.h"
#include "core/engine/RunEngine.h"
#include "core/engine/RunSettings.h"
#include "core/project/ProjectDocument.h"
#include "core/project/ProjectFile.h"

namespace zv {

// What a run of a project needs once its settings are applied: the items and
// settings as they are in the window, taken at the start so that the run
// never reads the document while the user goes on with it.
struct PreparedRun {
    // The text id of why no run may start now; nothing when it may.
    std::optional<int> refusal;
    std::vector<ProjectItem> items;
    RunSettings settings;
    RunOptions options;
};

// Decides whether a run of `document` may start and takes what it works on.
// The run settings the user just applied showed the after-run action: the
// command line may carry it out for the project's saved file from now on. The
// project file itself is neither written nor read.
PreparedRun PrepareRun(const ProjectDocument& document);

// What the end of a run shows and whether its plan is now the window's.
struct FinishedRun {
    // The texts to show one after the other, each in a box with an OK button.
    std::vector<std::string> messages;
    // The plan went into the items: the views show it and the after-run
    // action may follow.
    bool planned = false;
};

// Takes a run's result into `document`: a completed run's media go into its
// items, which are then modified (the plan stays in the window until the user
// saves); a stopped or failed run leaves the document as it was.
FinishedRun FinishRun(ProjectDocument& document, const PlanRunResult& result);

}  // namespace zv
