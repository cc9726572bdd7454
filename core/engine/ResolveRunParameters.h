#pragma once

#include <optional>

#include "core/engine/RunParameters.h"
#include "core/engine/RunSettingCheck.h"
#include "core/engine/RunSettings.h"

namespace zv {

// Fills the parameters of a run from a project's settings; the rule they
// break when a run must not start on them.
std::optional<RunSettingRefusal> ResolveRunParameters(const RunSettings& settings,
                                                      RunParameters& params);

}  // namespace zv
