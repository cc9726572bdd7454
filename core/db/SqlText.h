#pragma once

#include <string>
#include <string_view>

namespace zv {

// A text value for a statement: every apostrophe doubled, so that the stored
// value is the text itself. The apostrophes around it are the caller's.
std::string SqlQuote(std::string_view text);

// A number for a statement: the shortest decimal text without exponent that
// reads back as the same double, "." as the decimal point, no grouping,
// whatever the locale.
std::string SqlNumber(double value);

}  // namespace zv
