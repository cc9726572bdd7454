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

// A number for a statement that SQLite reads back as exactly the same double.
// Its reader of decimal texts is off by a unit in the last place for some
// values, so a number that is no whole number below 2^53 goes over as the
// whole number of its significant bits scaled by powers of two, which SQLite
// computes without rounding: "(CAST(3 AS REAL) / 4)" for 0.75. Whole numbers
// go as SqlNumber gives them; what is no number gives a text no statement
// takes.
std::string SqlExactNumber(double value);

}  // namespace zv
