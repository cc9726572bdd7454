#include "core/strings/StringTable.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/platform/PlatformError.h"
#include "core/strings/StringTableRows.h"

namespace zv {

namespace {

std::optional<std::size_t> RowIndex(int id) {
    const StringTableRow* first = kStringTableRows;
    const StringTableRow* last = kStringTableRows + kStringTableRowCount;
    const StringTableRow* row = std::lower_bound(
        first, last, id, [](const StringTableRow& r, int wanted) { return r.id < wanted; });
    if (row == last || row->id != id) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(row - first);
}

// Callers keep references to the texts, so they are made into strings once, in
// row order, on first use (never during static start-up of another file).
const std::vector<std::string>& Texts() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> all;
        all.reserve(kStringTableRowCount);
        for (std::size_t i = 0; i < kStringTableRowCount; ++i) {
            all.emplace_back(kStringTableRows[i].text);
        }
        return all;
    }();
    return texts;
}

}  // namespace

const std::string& ResString(int id) {
    const std::optional<std::size_t> index = RowIndex(id);
    if (!index) {
        throw PlatformError(326, "識別子 " + std::to_string(id) + " のリソースが見つかりません。");
    }
    return Texts()[*index];
}

bool HasResString(int id) {
    return RowIndex(id).has_value();
}

}  // namespace zv
