#pragma once

#include "core/engine/RunSettings.h"

namespace zv {

// The run settings every new project starts with, kept for the whole process.
RunSettings& DefaultRunSettings();

// Reads section DEFAULT_SET_RUN of the settings file into `settings`: a key
// that is present replaces its field, an absent key leaves it, and an absent
// MaxSpeed turns fast search on. A value that does not convert is reported in
// the common error box and ends the reading (the fields read before it keep
// their new values); false then.
bool LoadDefaultRunSettings(RunSettings& settings);

}  // namespace zv
