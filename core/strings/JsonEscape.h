#pragma once

#include <string>
#include <string_view>

namespace zv {

// A text as it stands inside a JSON string literal, without the quotes: quotes,
// backslashes and control characters escaped, and a byte that is not part of
// well-formed UTF-8 written as the lone surrogate \udcXX, so that any name a
// file system holds comes out as valid UTF-8 and can be told back.
std::string JsonEscaped(std::string_view text);

}  // namespace zv
