#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "desktop/dialogs/FileListModel.h"

namespace zv {
namespace {

using Names = std::vector<std::string>;

// The files of a scan of two folders: c (300 bytes), a (5) and b (1,234,567).
GatheredFiles Scan() {
    GatheredFiles files;
    files.folders = {QStringLiteral("/data"), QStringLiteral("/data/sub")};
    files.files = {{0, QStringLiteral("c.txt"), 300, 2000},
                   {1, QStringLiteral("a.bin"), 5, 1000},
                   {0, QStringLiteral("b.dat"), 1234567, 3000}};
    return files;
}

Names NameColumn(const FileListModel& model) {
    Names names;
    for (int row = 0; row < model.rowCount(); ++row)
        names.push_back(model.Text(row, FileListModel::NameColumn).toStdString());
    return names;
}

// Every change the dialog makes, under the model tester, which fails the test
// on any signal or answer a view could not rely on.
TEST(FileListModelTest, KeepsItsContractThroughScansChecksAndSorting) {
    FileListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetFiles(Scan());
    model.AddRows({0, 1, 2});
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.columnCount(), FileListModel::kColumnCount);
    EXPECT_EQ(model.Text(1, FileListModel::LocationColumn).toStdString(), "/data/sub");
    EXPECT_EQ(model.Text(0, FileListModel::SizeColumn).toStdString(), "      300");
    EXPECT_FALSE(model.AllChecked());

    EXPECT_TRUE(model.setData(model.index(2, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(model.CheckedPaths(), Names{"/data/b.dat"});
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);

    model.SetSorted(true);
    EXPECT_EQ(NameColumn(model), (Names{"a.bin", "b.dat", "c.txt"}));
    model.SortByHeading(FileListModel::SizeColumn);
    EXPECT_EQ(NameColumn(model), (Names{"a.bin", "c.txt", "b.dat"}));
    model.SortByHeading(FileListModel::SizeColumn);
    EXPECT_EQ(model.Order(), Qt::DescendingOrder);
    EXPECT_EQ(NameColumn(model), (Names{"b.dat", "c.txt", "a.bin"}));
    EXPECT_TRUE(model.IsChecked(0)) << "the mark moves with its row";

    model.SetAllChecked(true);
    EXPECT_TRUE(model.AllChecked());
    model.RemoveRows();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.AllChecked()) << "an empty list has nothing checked";
    model.AddRows({1});
    EXPECT_EQ(NameColumn(model), Names{"a.bin"});
    model.Release();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(model.Files().Empty());
}

}  // namespace
}  // namespace zv
