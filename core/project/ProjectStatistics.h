#pragma once

#include <array>
#include <string>

#include "core/project/ProjectDocument.h"

namespace zv {

// The texts of the information tab's ten value labels, objLabel(11) to
// objLabel(20), in that order.
std::array<std::string, 10> ShowStatistics(const ProjectDocument& document);

}  // namespace zv
