#pragma once

#include <QTreeWidget>
#include <string>
#include <vector>

#include "document/ListViewItem.h"

namespace zv::test {

// The texts of one column of a list view, top to bottom as shown.
inline std::vector<std::string> ColumnTexts(const QTreeWidget& view, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < view.topLevelItemCount(); ++row)
        texts.push_back(view.topLevelItem(row)->text(column).toStdString());
    return texts;
}

// The tags of a project list's rows, top to bottom.
inline std::vector<std::string> RowTags(const QTreeWidget& view) {
    std::vector<std::string> tags;
    for (int row = 0; row < view.topLevelItemCount(); ++row)
        tags.push_back(static_cast<const ListViewItem*>(view.topLevelItem(row))->Tag());
    return tags;
}

inline const ListViewItem& Row(const QTreeWidget& view, int row) {
    return *static_cast<const ListViewItem*>(view.topLevelItem(row));
}

}  // namespace zv::test
