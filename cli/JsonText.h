#pragma once

#include <string>
#include <string_view>

namespace zv {

// A JSON string literal for a text, quotes included. A byte that is not part
// of well-formed UTF-8 is written as the lone surrogate \udcXX.
std::string JsonString(std::string_view text);
// A whole number of bytes as JSON.
std::string JsonBytes(double bytes);
// Any number as JSON, in its shortest form.
std::string JsonNumber(double value);

}  // namespace zv
