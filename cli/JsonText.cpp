#include "cli/JsonText.h"

#include <charconv>
#include <cmath>

#include "core/strings/JsonEscape.h"

namespace zv {

std::string JsonString(std::string_view text) {
    return "\"" + JsonEscaped(text) + "\"";
}

std::string JsonBytes(double bytes) {
    const double whole = std::round(bytes);
    // Byte counts are whole numbers: written as such, never as 5e+06.
    if (std::isfinite(whole) && std::fabs(whole) < 9.2e18) {
        char text[32];
        const auto result = std::to_chars(text, text + sizeof text, static_cast<long long>(whole));
        return std::string(text, result.ptr);
    }
    return JsonNumber(whole);
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value))
        return "null";
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace zv
