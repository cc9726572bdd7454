#include "desktop/dialogs/FileListModel.h"

#include <algorithm>
#include <numeric>

#include "core/strings/StringTable.h"
#include "desktop/dialogs/FileRowText.h"

namespace zv {

namespace {

constexpr int kHeadings = 60100;  // "ﾌｧｲﾙ名" "種類" "ｻｲｽﾞ" "場所" "更新日"

}  // namespace

FileListModel::FileListModel(QObject* parent)
    : QAbstractTableModel(parent), locale_(QLocale::system()) {}

void FileListModel::SetFiles(GatheredFiles files) {
    beginResetModel();
    files_ = std::move(files);
    widestSize_ = files_.WidestSizeText();
    types_.assign(files_.files.size(), std::nullopt);
    rows_.clear();
    endResetModel();
}

void FileListModel::Release() {
    SetFiles({});
}

void FileListModel::RemoveRows() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void FileListModel::AddRows(const std::vector<std::size_t>& files) {
    if (files.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(files.size()) - 1);
    rows_.reserve(rows_.size() + files.size());
    for (const std::size_t file : files)
        rows_.push_back({file, false});
    endInsertRows();
    if (sorted_)
        Sort();
}

void FileListModel::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_)
        Sort();
}

void FileListModel::SortByHeading(int column) {
    if (column == sortKey_) {
        order_ = order_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    } else {
        sortKey_ = column;
        order_ = Qt::AscendingOrder;
    }
    if (sorted_)
        Sort();
}

QString FileListModel::Text(int row, int column) const {
    const std::size_t index = rows_.at(static_cast<std::size_t>(row)).file;
    const GatheredFile& file = files_.files[index];
    switch (column) {
        case NameColumn:
            return file.name;
        case TypeColumn:
            return TypeOf(index);
        case SizeColumn:
            return PaddedSizeText(file.size, widestSize_);
        case LocationColumn:
            return files_.folders[file.folder];
        case DateColumn:
            return ShortDateText(file.modified, locale_);
        default:
            return {};
    }
}

const QString& FileListModel::TypeOf(std::size_t file) const {
    std::optional<QString>& type = types_[file];
    if (!type) {
        type = mimeTypes_.mimeTypeForFile(files_.files[file].name, QMimeDatabase::MatchExtension)
                   .comment();
    }
    return *type;
}

void FileListModel::SetAllChecked(bool checked) {
    for (Row& row : rows_)
        row.checked = checked;
    if (!rows_.empty())
        emit dataChanged(index(0, NameColumn), index(rowCount() - 1, NameColumn),
                         {Qt::CheckStateRole});
}

bool FileListModel::AllChecked() const {
    return !rows_.empty() &&
           std::all_of(rows_.begin(), rows_.end(), [](const Row& row) { return row.checked; });
}

std::vector<std::string> FileListModel::CheckedPaths() const {
    std::vector<std::string> paths;
    for (const Row& row : rows_) {
        if (row.checked)
            paths.push_back(files_.Path(row.file));
    }
    return paths;
}

void FileListModel::Sort() {
    const int count = rowCount();
    if (count < 2)
        return;
    std::vector<QString> keys(rows_.size());
    for (int row = 0; row < count; ++row)
        keys[static_cast<std::size_t>(row)] = Text(row, sortKey_);
    // The list sorts by text as it is shown, without regard to letter case;
    // rows with equal texts keep their order.
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const bool ascending = order_ == Qt::AscendingOrder;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int compared = QString::compare(keys[a], keys[b], Qt::CaseInsensitive);
        return ascending ? compared < 0 : compared > 0;
    });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    std::vector<int> newPosition(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(rows_[order[i]]);
        newPosition[order[i]] = static_cast<int>(i);
    }
    rows_ = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after.append(index(newPosition[static_cast<std::size_t>(old.row())], old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
        case Qt::DisplayRole:
            return Text(index.row(), index.column());
        case Qt::CheckStateRole:
            if (index.column() == NameColumn)
                return IsChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() == SizeColumn)
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            return {};
        default:
            return {};
    }
}

bool FileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != NameColumn || role != Qt::CheckStateRole)
        return false;
    rows_.at(static_cast<std::size_t>(index.row())).checked =
        static_cast<Qt::CheckState>(value.toInt()) == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == NameColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(ResString(kHeadings + section));
    if (role == Qt::TextAlignmentRole && section == SizeColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

}  // namespace zv
