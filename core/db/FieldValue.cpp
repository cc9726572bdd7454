#include "core/db/FieldValue.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/db/SqlText.h"
#include "core/platform/PlatformError.h"

namespace zv {

namespace {

using Value = std::variant<std::monostate, int64_t, double, std::string>;

// A number stored as text converts like the number itself; blanks around it
// do not count.
double ParseNumber(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    while (first < last && (*first == ' ' || *first == '\t')) {
        ++first;
    }
    while (last > first && (last[-1] == ' ' || last[-1] == '\t')) {
        --last;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        throw PlatformError::Overflow();
    }
    if (ec != std::errc() || end != last || !std::isfinite(value)) {
        throw PlatformError::TypeMismatch();
    }
    return value;
}

template <typename T>
T CheckedRange(double whole) {
    if (!(whole >= std::numeric_limits<T>::min() && whole <= std::numeric_limits<T>::max())) {
        throw PlatformError::Overflow();
    }
    return static_cast<T>(whole);
}

// Halves go to the even neighbour (0.5 -> 0, 1.5 -> 2, 2.5 -> 2), whatever the
// floating-point rounding mode is.
template <typename T>
T RoundToInteger(double value) {
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0)) {
        whole += 1;
    }
    return CheckedRange<T>(whole);
}

template <typename T>
T ToInteger(const Value& value) {
    if (const auto* i = std::get_if<int64_t>(&value)) {
        return CheckedRange<T>(static_cast<double>(*i));
    }
    if (const auto* d = std::get_if<double>(&value)) {
        return RoundToInteger<T>(*d);
    }
    if (const auto* s = std::get_if<std::string>(&value)) {
        return RoundToInteger<T>(ParseNumber(*s));
    }
    throw PlatformError::InvalidUseOfNull();
}

}  // namespace

int16_t FieldValue::ToInt16() const {
    return ToInteger<int16_t>(value_);
}

int32_t FieldValue::ToInt32() const {
    return ToInteger<int32_t>(value_);
}

double FieldValue::ToDouble() const {
    if (const auto* i = std::get_if<int64_t>(&value_)) {
        return static_cast<double>(*i);
    }
    if (const auto* d = std::get_if<double>(&value_)) {
        return *d;
    }
    if (const auto* s = std::get_if<std::string>(&value_)) {
        return ParseNumber(*s);
    }
    throw PlatformError::InvalidUseOfNull();
}

std::string FieldValue::ToText() const {
    if (const auto* i = std::get_if<int64_t>(&value_)) {
        return std::to_string(*i);
    }
    if (const auto* d = std::get_if<double>(&value_)) {
        return SqlNumber(*d);
    }
    if (const auto* s = std::get_if<std::string>(&value_)) {
        return *s;
    }
    throw PlatformError::InvalidUseOfNull();
}

}  // namespace zv
