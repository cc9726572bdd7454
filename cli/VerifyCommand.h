#pragma once

#include "cli/CliOptions.h"
#include "core/project/ProjectFile.h"

namespace zv {

// `verify`: compares a medium (a mounted disc, a folder, an ISO image) with
// its medium of the project's plan, found by itself unless --medium names
// it. Names each difference on standard output and returns 0 only when the
// medium is exactly as planned, else 1. Throws MediumExportError and Failure
// when the medium or a source cannot be read.
int VerifyCommand(const CliOptions& options, const ProjectData& project);

}  // namespace zv
