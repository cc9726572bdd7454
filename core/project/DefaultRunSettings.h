#pragma once

#include <cstdint>

#include "core/engine/RunSettings.h"

namespace zv {

// The run settings every new project starts with, kept for the whole process.
RunSettings& DefaultRunSettings();

// Reads section DEFAULT_SET_RUN of the settings file into `settings`: a key
// that is present replaces its field, an absent key leaves it, an absent
// MaxSpeed turns fast search on, and an absent Method packs medium after
// medium. A value that does not convert is reported in the common error box
// and ends the reading (the fields read before it keep their new values);
// false then.
bool LoadDefaultRunSettings(RunSettings& settings);

// The packing method a stored number stands for; throws PlatformError for a
// number that stands for none.
PackingMethod PackingMethodFromNumber(int16_t number);

// The seconds after which a medium's search ends with its best combination
// (settings file; 0 = no limit). A value that does not convert is reported in
// the common error box and sets no limit.
double LoadMediumTimeLimit();

}  // namespace zv
