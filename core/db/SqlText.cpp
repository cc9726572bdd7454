#include "core/db/SqlText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

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

namespace {

// 2^53: below it every whole number is a double, and SQLite reads its digits
// exactly.
constexpr double kExactWhole = 9007199254740992.0;
// The largest power of two to scale by in one step, as a 64-bit integer.
constexpr int kScaleBits = 62;

}  // namespace

std::string SqlExactNumber(double value) {
    if (!std::isfinite(value) || (value == std::trunc(value) && std::fabs(value) < kExactWhole))
        return SqlNumber(value);
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent);
    // value = bits * 2^exponent, bits a whole number of at most 53 bits.
    auto bits = static_cast<int64_t>(std::ldexp(fraction, 53));
    exponent -= 53;
    while (bits % 2 == 0 && exponent < 0) {
        bits /= 2;
        ++exponent;
    }
    // Each step is exact: the value it gives has the same significant bits as
    // the number itself, only a different power of two.
    std::string text = "(CAST(" + std::to_string(bits) + " AS REAL)";
    while (exponent != 0) {
        const int step = std::min(std::abs(exponent), kScaleBits);
        text += (exponent < 0 ? " / " : " * ") + std::to_string(int64_t{1} << step);
        exponent += exponent < 0 ? step : -step;
    }
    return text + ")";
}

}  // namespace zv
