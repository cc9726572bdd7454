#pragma once

#include <QAbstractTableModel>
#include <QLocale>
#include <QMimeDatabase>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "desktop/dialogs/GatheredFiles.h"

namespace zv {

// The rows of the add-files dialog's file list: one row per gathered file that
// the list shows, each with a check box, in the columns name, type, size,
// location and modification date. It keeps the gathered files of the last scan
// for as long as the dialog is open. Texts are made when a row is drawn or
// sorted, so a hundred thousand rows come in at once. Row counts are not
// limited to 16-bit numbers.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { NameColumn, TypeColumn, SizeColumn, LocationColumn, DateColumn, kColumnCount };

    explicit FileListModel(QObject* parent = nullptr);

    // Takes the files of a scan; every row goes.
    void SetFiles(GatheredFiles files);
    const GatheredFiles& Files() const { return files_; }
    // Frees the gathered files and the rows.
    void Release();

    // Removes every row; the gathered files stay.
    void RemoveRows();
    // Appends an unchecked row for each of these gathered files, in order.
    void AddRows(const std::vector<std::size_t>& files);

    // Automatic sorting: while it is on, the rows stay ordered by the sort key
    // and order; switching it on sorts them.
    void SetSorted(bool sorted);
    bool Sorted() const { return sorted_; }
    // A click on the heading of `column`: the same column again flips the
    // order, another one becomes the key in ascending order.
    void SortByHeading(int column);
    int SortKey() const { return sortKey_; }
    Qt::SortOrder Order() const { return order_; }

    // The text of a cell as the list shows it.
    QString Text(int row, int column) const;
    bool IsChecked(int row) const { return rows_.at(static_cast<std::size_t>(row)).checked; }
    void SetAllChecked(bool checked);
    // True when the list has rows and every one is checked.
    bool AllChecked() const;
    // The full paths of the checked rows' files, top to bottom.
    std::vector<std::string> CheckedPaths() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    struct Row {
        std::size_t file;
        bool checked;
    };

    const QString& TypeOf(std::size_t file) const;
    void Sort();

    GatheredFiles files_;
    int widestSize_ = 0;
    std::vector<Row> rows_;
    // Type descriptions are looked up when first shown: looking one up costs
    // more than all the rest of a row.
    mutable std::vector<std::optional<QString>> types_;
    QMimeDatabase mimeTypes_;
    QLocale locale_;
    bool sorted_ = false;
    int sortKey_ = NameColumn;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};

}  // namespace zv
