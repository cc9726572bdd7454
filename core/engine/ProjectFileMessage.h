#pragma once

#include "core/platform/Status.h"

namespace zv {

// The string-table message for a project file that could not be written or
// worked on: in use and read-only have their own, anything else `otherwise`.
int ProjectFileMessage(const Status& status, int otherwise);

}  // namespace zv
