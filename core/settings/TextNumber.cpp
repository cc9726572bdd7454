#include "core/settings/TextNumber.h"

#include <charconv>
#include <cmath>

#include "core/platform/PlatformError.h"

namespace zv {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number of a text rewritten without blanks, plus sign and separators, as
// std::from_chars reads it; nothing when the text is no number. Separators
// must group the whole part by threes ("1,234,567"), so that "1,5" is not
// silently read as fifteen.
std::optional<std::string> PlainNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);

    std::string plain;
    std::size_t i = 0;
    const auto at = [&](char c) { return i < text.size() && text[i] == c; };
    const auto atDigit = [&] { return i < text.size() && IsDigit(text[i]); };

    if (at('-'))
        plain += '-';
    if (at('-') || at('+'))
        ++i;

    std::size_t digits = 0;
    std::size_t groupLength = 0;
    bool grouped = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            plain += text[i];
            ++digits;
            ++groupLength;
        } else if (text[i] == ',') {
            if (groupLength == 0 || groupLength > 3 || (grouped && groupLength != 3))
                return std::nullopt;
            grouped = true;
            groupLength = 0;
        } else {
            break;
        }
    }
    if (grouped && groupLength != 3)
        return std::nullopt;

    if (at('.')) {
        plain += '.';
        for (++i; atDigit(); ++i) {
            plain += text[i];
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;

    if (at('e') || at('E')) {
        plain += 'e';
        ++i;
        if (at('-'))
            plain += '-';
        if (at('-') || at('+'))
            ++i;
        if (!atDigit())
            return std::nullopt;
        for (; atDigit(); ++i)
            plain += text[i];
    }
    if (i != text.size())
        return std::nullopt;
    return plain;
}

// Reads a plain number; errc::result_out_of_range when it does not fit a double.
std::errc ReadPlain(const std::string& plain, double& value) {
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    return error;
}

}  // namespace

bool IsNumeric(std::string_view text) {
    return ParseNumber(text).has_value();
}

std::optional<double> ParseNumber(std::string_view text) {
    const auto plain = PlainNumber(text);
    double value = 0;
    if (!plain || ReadPlain(*plain, value) != std::errc())
        return std::nullopt;
    return value;
}

double TextToDouble(std::string_view text) {
    const auto plain = PlainNumber(text);
    if (!plain)
        throw PlatformError::TypeMismatch();
    double value = 0;
    if (ReadPlain(*plain, value) != std::errc())
        throw PlatformError::Overflow();
    return value;
}

int16_t TextToInt16(std::string_view text) {
    const double value = RoundHalfEven(TextToDouble(text));
    if (value < -32768 || value > 32767)
        throw PlatformError::Overflow();
    return static_cast<int16_t>(value);
}

int32_t TextToInt32(std::string_view text) {
    const double value = RoundHalfEven(TextToDouble(text));
    if (value < INT32_MIN || value > INT32_MAX)
        throw PlatformError::Overflow();
    return static_cast<int32_t>(value);
}

double RoundHalfEven(double value) {
    double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5 && std::fmod(rounded, 2.0) != 0)
        rounded -= std::copysign(1.0, value);
    return rounded;
}

std::string FormatGrouped(double value) {
    const double rounded = std::round(value);
    if (rounded == 0)
        return "0";
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(rounded),
                                            std::chars_format::fixed, 0);
    const std::string_view digits(buffer, static_cast<std::size_t>(end - buffer));

    std::string text = rounded < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

}  // namespace zv
