#pragma once

#include <cstddef>
#include <string_view>

namespace zv {

// One entry of the string table as the build embeds it: texts are already
// decoded, and the rows ascend by id.
struct StringTableRow {
    int id;
    std::string_view text;
};

// Written by make_string_table from strings.tsv at build time.
extern const StringTableRow kStringTableRows[];
extern const std::size_t kStringTableRowCount;

}  // namespace zv
