#pragma once

#include <string>
#include <vector>

#include "desktop/mainwindow/Command.h"

namespace zv {

// One place on the tool bar: a separator, or a button with its key (which also
// names its picture and its widget), its tooltip and the command it gives.
struct ToolbarEntry {
    bool separator = false;
    std::string key;
    std::string tooltip;
    Command command = Command::None;
};

// The tool bar as the string table lays it out: for i = 0, 1, ... while string
// 65300 + i exists, "0" is a separator and anything else the next button k
// (from 1) with key 65100 + k and tooltip 65200 + k. A key the program does not
// know gives a button without a command.
std::vector<ToolbarEntry> ToolbarLayout();

}  // namespace zv
