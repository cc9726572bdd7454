#pragma once

#include <array>
#include <string>

#include "desktop/mainwindow/MenuTree.h"

namespace zv {

// The caption of every entry of `MenuItems`: string 60000 + k (the export's
// own string for the export), unless section MenuItem of the settings file
// holds a value under "USR" followed by k.
std::array<std::string, kMenuItemCount> MenuCaptions();

}  // namespace zv
