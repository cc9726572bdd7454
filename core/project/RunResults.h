#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zv {

// Reads back the media a run recorded in a project file: for n = 1, 2, ...
// every item number listed in the medium's table gets the medium number n,
// until the first medium without a table. `media` holds one entry per item.
// False when the file does not open. An item number outside `media` throws
// PlatformError; the entries set before it keep their numbers.
bool ReadRunResults(const std::string& projectPath, std::vector<int16_t>& media);

}  // namespace zv
