#include "core/db/SqlText.h"

#include <charconv>

namespace zv {

std::string SqlQuote(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size());
    for (char c : text) {
        quoted += c;
        if (c == '\'') {
            quoted += '\'';
        }
    }
    return quoted;
}

std::string SqlNumber(double value) {
    // Fixed notation keeps sizes such as 4700000000 out of exponent form; the
    // longest such text of a double (the smallest subnormal) is 327 characters.
    char buffer[400];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, end);
}

}  // namespace zv
