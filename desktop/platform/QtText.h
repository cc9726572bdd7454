#pragma once

#include <QString>
#include <string>

namespace zv {

// A text of the program's as a widget shows it: the program writes a line
// break as "\r\n", Qt as "\n".
QString ShownText(const std::string& text);

}  // namespace zv
