#pragma once

#include <string>
#include <vector>

namespace zv {

// Column types by the codes the table definitions are given in.
enum class ColumnType : int {
    Integer = 3,  // 32-bit signed integer, declared INTEGER
    Double = 5,   // 64-bit float, declared DOUBLE
    WChar = 202,  // Unicode text of at most definedSize characters, declared VARCHAR(n)
};

struct ColumnDef {
    std::string name;
    ColumnType type = ColumnType::Integer;
    int definedSize = 0;
};

// A table to be created: its name and its columns in order. A definition
// without a name stands for "no table".
struct TableDef {
    std::string name;
    std::vector<ColumnDef> columns;
};

}  // namespace zv
