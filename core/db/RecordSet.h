#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/db/FieldValue.h"

namespace zv {

// Cursor types a statement is run with: dynamic for reading in order and for
// statements without rows, static to move to a row by its number. Both give
// the same rows here; the type is kept as the callers state it.
enum CursorType : int16_t { adOpenDynamic = 2, adOpenStatic = 3 };

// The rows of one query, read in full when the query ran, with a current row.
// A record set that is not open holds no rows: a statement without rows, a
// failed query, or one not run at all.
class RecordSet {
  public:
    RecordSet() = default;
    RecordSet(std::vector<std::string> fieldNames, std::vector<FieldValue> values);

    bool IsOpen() const { return open_; }
    // The current row is past the last (or there are no rows).
    bool AtEnd() const;

    long RecordCount() const;
    void MoveFirst();
    void MoveNext();
    // Moves to row n counted from the first row (row 0); a row past the last
    // leaves the record set at its end.
    void MoveTo(long n);

    int FieldCount() const { return static_cast<int>(names_.size()); }
    const std::string& FieldName(int index) const;
    // A field of the current row, by position or by name (letter case does not
    // count). Throws PlatformError: no current row (3021), no such field (9).
    const FieldValue& Field(int index) const;
    const FieldValue& Field(std::string_view name) const;

    void Close();

  private:
    bool open_ = false;
    std::vector<std::string> names_;
    std::vector<FieldValue> values_;  // rows one after the other
    long row_ = 0;
};

}  // namespace zv
