#pragma once

#include <string>

#include "core/engine/RunParameters.h"
#include "core/engine/RunSettings.h"

namespace zv {

// Fills the parameters of a run from a project's settings and its file path.
// False when the media size resolves to 0 bytes: the run must not start (the
// size lookup has already said why when a preset was missing).
bool ResolveRunParameters(const RunSettings& settings, const std::string& projectFilePath,
                          RunParameters& params);

}  // namespace zv
