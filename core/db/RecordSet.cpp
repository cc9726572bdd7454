#include "core/db/RecordSet.h"

#include <algorithm>
#include <utility>

#include "core/platform/PlatformError.h"

namespace zv {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

RecordSet::RecordSet(std::vector<std::string> fieldNames, std::vector<FieldValue> values)
    : open_(true), names_(std::move(fieldNames)), values_(std::move(values)) {}

bool RecordSet::AtEnd() const {
    return row_ >= RecordCount();
}

long RecordSet::RecordCount() const {
    return names_.empty() ? 0 : static_cast<long>(values_.size() / names_.size());
}

void RecordSet::MoveFirst() {
    row_ = 0;
}

void RecordSet::MoveNext() {
    if (!AtEnd()) {
        ++row_;
    }
}

void RecordSet::MoveTo(long n) {
    row_ = n < 0 || n > RecordCount() ? RecordCount() : n;
}

const std::string& RecordSet::FieldName(int index) const {
    if (index < 0 || index >= FieldCount()) {
        throw PlatformError::OutOfRange();
    }
    return names_[index];
}

const FieldValue& RecordSet::Field(int index) const {
    if (index < 0 || index >= FieldCount()) {
        throw PlatformError::OutOfRange();
    }
    if (AtEnd()) {
        throw PlatformError::NoCurrentRecord();
    }
    return values_[row_ * names_.size() + index];
}

const FieldValue& RecordSet::Field(std::string_view name) const {
    const auto found =
        std::ranges::find_if(names_, [&](const std::string& n) { return SameName(n, name); });
    if (found == names_.end()) {
        throw PlatformError::OutOfRange();
    }
    return Field(static_cast<int>(found - names_.begin()));
}

void RecordSet::Close() {
    open_ = false;
    names_.clear();
    values_.clear();
    row_ = 0;
}

}  // namespace zv
