#pragma once

#include <string_view>

namespace zv {

// Group names and the ".mtb" ending are matched the way people type them:
// letters of either case count as the same. Other characters compare exactly.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace zv
