#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QSignalSpy>
#include <string>
#include <vector>

#include "desktop/projectwindow/MediaSummary.h"
#include "desktop/projectwindow/ProjectListModel.h"

namespace zv {
namespace {

using Texts = std::vector<std::string>;

// Items of one file each: its medium and bytes.
std::vector<ProjectItem> Plan(const std::vector<std::pair<int16_t, double>>& placed) {
    std::vector<ProjectItem> items;
    for (const auto& [medium, bytes] : placed) {
        const std::string path = "/data/f" + std::to_string(items.size());
        items.push_back({path, medium, {{path, bytes}}});
    }
    return items;
}

// Each medium's items, bytes, free bytes and fill in per mille, summed without
// a file system. A project not run has no medium and blames no item; why an
// item is on no medium is the unplaced items' own rule.
TEST(MediaSummaryTest, EveryMediumIsSummedAndAProjectNotRunBlamesNothing) {
    using Medium = std::tuple<int, int, double, double, int>;
    const std::pair<std::vector<std::pair<int16_t, double>>, std::vector<Medium>> cases[] = {
        {{{0, 10}, {0, 20}}, {}},
        {{{1, 60}, {2, 100}, {1, 40}, {0, 150}}, {{1, 2, 100, 0, 1000}, {2, 1, 100, 0, 1000}}},
        // A medium the plan left empty still counts.
        {{{1, 70}, {3, 20}, {0, 50}},
         {{1, 1, 70, 30, 700}, {2, 0, 0, 100, 0}, {3, 1, 20, 80, 200}}},
    };
    for (const auto& [placed, expected] : cases) {
        const MediaSummary summary = SummariseMedia(Plan(placed), RunSettings(), 100);
        std::vector<Medium> media;
        for (const MediumFigures& m : summary.media)
            media.emplace_back(m.number, m.items, m.bytes, m.free,
                               static_cast<int>(m.fill * 1000 + 0.5));
        EXPECT_EQ(media, expected);
        EXPECT_EQ(summary.unplaced.size(), expected.empty() ? 0u : 1u);
        EXPECT_FALSE(summary.fileSystemAllowed);
    }
}

// With room for a file system every medium carries its share, which counts
// toward the fill; without a capacity nothing free or full is claimed.
TEST(MediaSummaryTest, TheFileSystemCountsTowardTheFillAndNoCapacityClaimsNone) {
    RunSettings iso;
    iso.FsAllowance = FileSystemAllowance::Iso9660;
    const std::vector<ProjectItem> items = Plan({{1, 1000}, {1, 1}, {2, 5000}});
    const MediaSummary summary = SummariseMedia(items, iso, 700000);
    ASSERT_TRUE(summary.fileSystemAllowed);
    ASSERT_EQ(summary.media.size(), 2u);
    for (const MediumFigures& medium : summary.media) {
        // Two sectors at least: each file rounds up to whole sectors of 2 KiB.
        EXPECT_GE(medium.fileSystem, 2048) << medium.number;
        EXPECT_DOUBLE_EQ(medium.free, 700000 - medium.bytes - medium.fileSystem);
        EXPECT_DOUBLE_EQ(medium.fill, (medium.bytes + medium.fileSystem) / 700000);
    }

    const MediaSummary unsized = SummariseMedia(items, iso, 0);
    EXPECT_EQ(unsized.media.at(0).bytes, 1001);
    EXPECT_EQ(unsized.media.at(0).fileSystem, 0);
    EXPECT_LT(unsized.media.at(0).fill, 0);
}

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
