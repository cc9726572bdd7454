#pragma once

#include <string>
#include <vector>

namespace zv {

// The deepest folder that holds every one of the paths: the folder whose
// contents a medium holds, so that each file keeps its path below it.
std::string CommonFolder(const std::vector<std::string>& paths);

}  // namespace zv
