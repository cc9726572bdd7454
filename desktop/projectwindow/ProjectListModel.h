#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <string>
#include <vector>

#include "core/project/ListRenderer.h"
#include "core/project/ProjectTab.h"

namespace zv {

// What a row of a project list stands for.
enum class RowKind {
    File,   // a single file, or a member of the opened group
    Group,  // a group at the top level
    Up,     // "..", back out of the opened group
};

// The rows one of a project window's lists shows: the file list, or the
// result list of one medium, drawn from the document by zv::RenderList. The
// rows are kept in the order shown; a new drawing changes only the rows that
// differ, so a view over many thousands of items keeps its place and the
// selection of the rows an edit did not touch.
class ProjectListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { NameColumn = 0, SizeColumn = 1, ColumnCount = 2 };

    ProjectListModel(ProjectList list, QObject* parent = nullptr);

    // Shows `content` in the order of the last sort.
    void Show(const ListContent& content);
    bool GroupOpened() const { return groupOpened_; }

    const std::string& Tag(int row) const { return rows_[static_cast<std::size_t>(row)].tag; }
    RowKind Kind(int row) const { return rows_[static_cast<std::size_t>(row)].kind; }
    QString Text(int row) const { return rows_[static_cast<std::size_t>(row)].text; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order) override;

  private:
    struct Row {
        QString text;
        QString sizeText;
        int icon = IconFile;
        std::string tag;
        RowKind kind = RowKind::File;
    };

    // Whether row a goes above row b in the order of the last sort.
    bool Before(const Row& a, const Row& b) const;
    void SortRows(std::vector<Row>& rows) const;

    ProjectList list_;
    std::vector<Row> rows_;
    bool groupOpened_ = false;
    int sortColumn_ = NameColumn;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace zv
