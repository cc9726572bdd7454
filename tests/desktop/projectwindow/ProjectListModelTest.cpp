#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QSignalSpy>
#include <string>
#include <vector>

#include "desktop/projectwindow/ProjectListModel.h"

namespace zv {
namespace {

using Texts = std::vector<std::string>;

ListContent Rows(const Texts& names) {
    ListContent content;
    for (const std::string& name : names)
        content.rows.push_back({name, "1", IconFile, name});
    return content;
}

Texts Shown(const ProjectListModel& model) {
    Texts tags;
    for (int row = 0; row < model.rowCount(); ++row)
        tags.push_back(model.Tag(row));
    return tags;
}

// A new drawing replaces only the rows between those alike at both ends, so a
// view keeps its place and the selection of the rows the edit left alone;
// a sort carries the selection along.
TEST(ProjectListModelTest, ADrawingChangesOnlyTheRowsThatDifferAndASortKeepsTheSelection) {
    ProjectListModel model(ProjectList::Files);
    model.Show(Rows({"a", "b", "c", "d"}));
    QItemSelectionModel selection(&model);
    selection.select(model.index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    struct Step {
        Texts rows;
        int removedRows, insertedRows;
    } const steps[] = {
        {{"a", "c", "d"}, 1, 0},        // b deleted
        {{"a", "c", "d", "e"}, 0, 1},   // e added
        {{"a", "cc", "d", "e"}, 1, 1},  // c renamed
    };
    for (const Step& step : steps) {
        removed.clear(), inserted.clear();
        model.Show(Rows(step.rows));
        EXPECT_EQ(Shown(model), step.rows);
        EXPECT_EQ(removed.size(), step.removedRows);
        EXPECT_EQ(inserted.size(), step.insertedRows);
    }
    EXPECT_EQ(resets.size(), 0);
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(model.Tag(selection.selectedRows().front().row()), "d");

    model.sort(ProjectListModel::NameColumn, Qt::DescendingOrder);
    EXPECT_EQ(Shown(model), (Texts{"e", "d", "cc", "a"}));
    EXPECT_EQ(model.Tag(selection.selectedRows().front().row()), "d");
    model.Show(Rows({"a", "b"}));
    EXPECT_EQ(Shown(model), (Texts{"b", "a"})) << "a drawing keeps the order";
}

}  // namespace
}  // namespace zv
