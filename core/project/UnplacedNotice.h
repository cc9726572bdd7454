#pragma once

#include <string>
#include <vector>

#include "core/engine/RunSettings.h"
#include "core/project/ProjectFile.h"
#include "core/project/UnplacedItem.h"

namespace zv {

// Why an item is on no medium, in the words of the desktop's views and boxes.
std::string UnplacedReasonText(UnplacedReason reason);

// The bytes of one medium of `settings`, as a number, a preset of the
// settings file or a capacity with a unit; 0 when it names none, or when the
// presets cannot be read.
double CapacityOf(const RunSettings& settings);

// What a box after an export says of a plan's items that no medium holds, so
// that none is left behind unnoticed: a heading, then a line per item with
// its reason, the rest counted. Empty when every item is placed, or none is
// (the project has not been run).
std::string UnplacedNotice(const std::vector<ProjectItem>& items, const RunSettings& settings);

}  // namespace zv
