#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/engine/RunSettings.h"
#include "core/project/MediumExport.h"
#include "core/project/ProjectFile.h"

namespace zv {

// The export an after-run action stands for; nullopt for no action, and for a
// stored number that stands for none.
std::optional<ExportFormat> AfterRunFormat(int16_t afterRun);

// Carries out the after-run action of `settings` once a run has ended
// normally: the export of the placed items into the after-run folder, the
// images checked against the settings' media size. Returns what it wrote;
// nothing when the settings ask for no action or no item was placed. Throws
// MediumExportError (also for a folder that is not a full path, and for a
// placed member that is no full path, as the names of a size list), ExportExists
// when an output is there already and `force` is off, and ExportCancelled.
std::vector<std::string> PerformAfterRun(const std::vector<ProjectItem>& items,
                                         const std::string& project, const RunSettings& settings,
                                         bool force, const ExportProgress& progress = {});

}  // namespace zv
