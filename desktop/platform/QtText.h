#pragma once

#include <QString>
#include <string>

namespace zv {

// A text of the program's as a widget shows it: the program writes a line
// break as "\r\n", Qt as "\n".
QString ShownText(const std::string& text);

// The name of control `index` of a control array, "objButton(4)": the
// widget's object name, by which tests and screenshots find it.
QString ControlName(const char* array, int index);

}  // namespace zv
