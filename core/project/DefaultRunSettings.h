#pragma once

#include <cstdint>
#include <vector>

#include "core/engine/RunSettings.h"
#include "core/settings/SettingsValueError.h"

namespace zv {

// The run settings every new project starts with, kept for the whole process.
RunSettings& DefaultRunSettings();

// Reads section DEFAULT_SET_RUN of the settings file into `settings`: a key
// that is present replaces its field, an absent key leaves it, an absent
// MaxSpeed turns fast search on, an absent Method packs medium after medium,
// and an absent FsAllowance leaves no room for a file system. A value that
// does not convert, or a file that cannot be read, is reported in the common
// error box with the file and the key, and ends the reading (the fields read
// before it keep their new values); false then.
bool LoadDefaultRunSettings(RunSettings& settings);

// Reads DEFAULT_SET_RUN as LoadDefaultRunSettings does, but without a box and
// to the end: a value that does not convert leaves its field and the keys
// after it are still read. The failures, in key order; every key fails when
// the file cannot be read.
std::vector<SettingsValueError> ReadDefaultRunSettings(RunSettings& settings);

// The packing method a stored number stands for; throws PlatformError for a
// number that stands for none.
PackingMethod PackingMethodFromNumber(int16_t number);

// The seconds after which a medium's search ends with its best combination
// (settings file; 0 = no limit). Throws SettingsValueError, naming the file
// and the key, for a value that does not convert or is no finite number, and
// for a file that cannot be read.
double ReadMediumTimeLimit();

// ReadMediumTimeLimit, with its failure reported in the common error box;
// no limit then.
double LoadMediumTimeLimit();

}  // namespace zv
