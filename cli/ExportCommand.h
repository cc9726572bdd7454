#pragma once

#include <string>

#include "cli/CliOptions.h"
#include "core/project/ProjectFile.h"

namespace zv {

// `export`: writes the media of the project at `projectPath` as the options
// ask, names each output on standard output, and on standard error the items
// that are on no medium, with the reason, and what the export did beyond
// writing (links made symbolic, private outputs, earlier outputs removed).
// Returns the exit status (3 when items are on no medium, unless allowed);
// throws MediumExportError, and Stopped after a stop signal.
int ExportCommand(const CliOptions& options, const std::string& projectPath,
                  const ProjectData& project);

}  // namespace zv
