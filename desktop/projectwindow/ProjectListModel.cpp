#include "desktop/projectwindow/ProjectListModel.h"

#include <QColor>
#include <algorithm>
#include <numeric>

#include "core/strings/StringTable.h"
#include "desktop/projectwindow/ListIcons.h"

namespace zv {

namespace {

constexpr int kNameCaption = 60110;  // "項目名"
constexpr int kSizeCaption = 60111;  // "ｻｲｽﾞ"

// The text colour of a list while it shows the members of a group.
const QColor kOpenedGroupText(0, 0, 192);

RowKind KindOf(const ListContent& content, std::size_t index) {
    if (content.groupOpened && index == 0)
        return RowKind::Up;
    const int icon = content.rows[index].icon;
    return icon == IconGroup || icon == IconGroupCut ? RowKind::Group : RowKind::File;
}

}  // namespace

ProjectListModel::ProjectListModel(ProjectList list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {}

void ProjectListModel::Show(const ListContent& content) {
    std::vector<Row> rows;
    rows.reserve(content.rows.size());
    for (std::size_t i = 0; i < content.rows.size(); ++i) {
        const ListRow& row = content.rows[i];
        rows.push_back({QString::fromStdString(row.text), QString::fromStdString(row.sizeText),
                        row.icon, row.tag, KindOf(content, i)});
    }
    SortRows(rows);

    // The rows alike at both ends stay; the ones between are replaced.
    const std::size_t shared = std::min(rows_.size(), rows.size());
    std::size_t head = 0;
    while (head < shared && rows_[head].tag == rows[head].tag &&
           rows_[head].kind == rows[head].kind)
        ++head;
    std::size_t tail = 0;
    while (tail < shared - head &&
           rows_[rows_.size() - 1 - tail].tag == rows[rows.size() - 1 - tail].tag &&
           rows_[rows_.size() - 1 - tail].kind == rows[rows.size() - 1 - tail].kind)
        ++tail;
    const int first = static_cast<int>(head);
    const int oldLast = static_cast<int>(rows_.size() - tail) - 1;
    const int newLast = static_cast<int>(rows.size() - tail) - 1;
    if (oldLast >= first) {
        beginRemoveRows({}, first, oldLast);
        rows_.erase(rows_.begin() + first, rows_.begin() + oldLast + 1);
        endRemoveRows();
    }
    if (newLast >= first) {
        beginInsertRows({}, first, newLast);
        rows_.insert(rows_.begin() + first, rows.begin() + first, rows.begin() + newLast + 1);
        endInsertRows();
    }
    // Texts, sizes and cut marks of the rows that stayed may have changed;
    // the colour follows the opened group.
    rows_ = std::move(rows);
    groupOpened_ = content.groupOpened;
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, ColumnCount - 1));
}

int ProjectListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ProjectListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ProjectListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const bool name = index.column() == NameColumn;
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return name ? row.text : row.sizeText;
        case Qt::DecorationRole:
            return name ? QVariant(ListIconImage(row.icon)) : QVariant();
        case Qt::TextAlignmentRole:
            return name ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::ForegroundRole:
            return groupOpened_ ? QVariant(kOpenedGroupText) : QVariant();
        default:
            return {};
    }
}

QVariant ProjectListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(
                ResString(section == NameColumn ? kNameCaption : kSizeCaption));
        case Qt::TextAlignmentRole:
            return section == SizeColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        // A click on another column starts with the smallest first; a click
        // on the sorted column turns the order round.
        case Qt::InitialSortOrderRole:
            return Qt::AscendingOrder;
        default:
            return {};
    }
}

Qt::ItemFlags ProjectListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    // Only the Rename command starts an editor, on the file list's names.
    if (list_ == ProjectList::Files && index.column() == NameColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ProjectListModel::Before(const Row& a, const Row& b) const {
    const QString& first = sortColumn_ == NameColumn ? a.text : a.sizeText;
    const QString& second = sortColumn_ == NameColumn ? b.text : b.sizeText;
    return sortOrder_ == Qt::AscendingOrder ? first < second : second < first;
}

void ProjectListModel::SortRows(std::vector<Row>& rows) const {
    std::stable_sort(rows.begin(), rows.end(),
                     [this](const Row& a, const Row& b) { return Before(a, b); });
}

void ProjectListModel::sort(int column, Qt::SortOrder order) {
    sortColumn_ = column == SizeColumn ? SizeColumn : NameColumn;
    sortOrder_ = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<std::size_t> from(rows_.size());
    std::iota(from.begin(), from.end(), std::size_t{0});
    std::stable_sort(from.begin(), from.end(),
                     [this](std::size_t a, std::size_t b) { return Before(rows_[a], rows_[b]); });
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    std::vector<int> newRowOf(rows_.size());
    for (std::size_t i = 0; i < from.size(); ++i) {
        sorted.push_back(std::move(rows_[from[i]]));
        newRowOf[from[i]] = static_cast<int>(i);
    }
    rows_ = std::move(sorted);
    // The selection and the current row move along with their rows.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after.append(index(newRowOf[static_cast<std::size_t>(old.row())], old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace zv
