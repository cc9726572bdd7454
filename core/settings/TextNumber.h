#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zv {

// Numbers in texts as people type and read them: blanks around them, a sign,
// thousands separators, a decimal point and an exponent are accepted.
bool IsNumeric(std::string_view text);
// The value of a numeric text; nothing when the text is not numeric.
std::optional<double> ParseNumber(std::string_view text);

// Conversions of a text as the settings reader makes them; they throw
// PlatformError: text that is no number (13), a value outside the 16-bit range (6).
double TextToDouble(std::string_view text);
int16_t TextToInt16(std::string_view text);  // fractions round to the even neighbour
int32_t TextToInt32(std::string_view text);  // the same within the 32-bit range

// Rounds to a whole number, halves going to the even neighbour.
double RoundHalfEven(double value);

// The pattern "#,##0": rounded to a whole number (halves away from zero),
// thousands grouped with commas, no decimals.
std::string FormatGrouped(double value);

}  // namespace zv
