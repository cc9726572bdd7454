#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace zv {

// One field of one row as the database returned it.
class FieldValue {
  public:
    FieldValue() = default;
    explicit FieldValue(int64_t v) : value_(v) {}
    explicit FieldValue(double v) : value_(v) {}
    explicit FieldValue(std::string v) : value_(std::move(v)) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(value_); }

    // Conversions as the program reads fields. Each throws PlatformError when
    // the value does not convert: Null (94), text that is no number (13), a
    // number outside the target's range (6). Fractions round to the even
    // neighbour.
    int16_t ToInt16() const;
    int32_t ToInt32() const;
    double ToDouble() const;
    // Numbers give their shortest decimal text; Null throws (94).
    std::string ToText() const;

  private:
    std::variant<std::monostate, int64_t, double, std::string> value_;
};

}  // namespace zv
