#pragma once

#include <string>
#include <string_view>

namespace zv {

// A JSON string literal for a UTF-8 text, quotes included.
std::string JsonString(std::string_view text);
// A whole number of bytes as JSON.
std::string JsonBytes(double bytes);
// Any number as JSON, in its shortest form.
std::string JsonNumber(double value);

}  // namespace zv
