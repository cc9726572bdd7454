#pragma once

#include <string>

#include "cli/CliOptions.h"

namespace zv {

// RequireRunSettings for the settings a command runs with, where values the
// command line did not give come from `source` (the settings file for plan,
// the project for run). A refusal is a usage error (UsageError) when the
// command line's own values are refused, whatever the others are; otherwise
// it is a fault of the source, and throws Failure naming it.
void CheckTakenRunSettings(const CliOptions& options, const RunSettings& settings,
                           const std::string& source);

}  // namespace zv
