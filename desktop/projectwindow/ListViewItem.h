#pragma once

#include <QTreeWidgetItem>
#include <cstddef>
#include <string>

#include "core/project/ListRenderer.h"

namespace zv {

// What a row of a project list stands for.
enum class RowKind {
    File,   // a single file, or a member of the opened group
    Group,  // a group at the top level
    Up,     // "..", back out of the opened group
};

// The kind of row `index` of a drawn list.
RowKind KindOfRow(const ListContent& content, std::size_t index);

// A row of a project list. Besides what it shows it keeps the name or path
// that finds its item again, and its kind, for the commands that act on the
// selection.
class ListViewItem : public QTreeWidgetItem {
  public:
    ListViewItem(const ListRow& row, RowKind kind);

    const std::string& Tag() const { return tag_; }
    RowKind Kind() const { return kind_; }

  private:
    std::string tag_;
    RowKind kind_;
};

}  // namespace zv
