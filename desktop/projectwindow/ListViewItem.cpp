#include "desktop/projectwindow/ListViewItem.h"

#include "desktop/projectwindow/ListIcons.h"

namespace zv {

RowKind KindOfRow(const ListContent& content, std::size_t index) {
    if (content.groupOpened && index == 0)
        return RowKind::Up;
    const int icon = content.rows[index].icon;
    return icon == IconGroup || icon == IconGroupCut ? RowKind::Group : RowKind::File;
}

ListViewItem::ListViewItem(const ListRow& row, RowKind kind)
    : QTreeWidgetItem(UserType), tag_(row.tag), kind_(kind) {
    setText(0, QString::fromStdString(row.text));
    setText(1, QString::fromStdString(row.sizeText));
    setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    setIcon(0, ListIconImage(row.icon));
}

}  // namespace zv
