#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "core/engine/RunDisplay.h"
#include "core/engine/RunEngine.h"
#include "core/engine/WorkDatabase.h"
#include "core/project/ProjectFile.h"
#include "core/strings/StringTable.h"
#include "tests/support/SqlRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

// Everything a run shows, and requests made on cue.
class RecordingObserver : public RunObserver {
  public:
    explicit RecordingObserver(RunRequests& requests) : requests_(requests) {}

    void StatusChanged(const std::string& text) override {
        statuses.push_back(text);
        if (onStatus)
            onStatus(text);
        if (abortAt && text == RunDisplay::MediumStatusText(abortAt))
            abortNextYield = true;
    }
    void ProgressChanged(int bar, const ProgressBarState& state) override { bars[bar] = state; }
    void Yield() override {
        if (abortNextYield)
            requests_.abort = true;
    }
    void PauseWait() override {}
    void Message(int id, const std::string& text) override {
        EXPECT_EQ(text, ResString(id));
        messages.push_back(id);
    }
    void MediumChosen(const MediumReport& report) override { chosen.push_back(report.number); }

    int abortAt = 0;
    bool abortNextYield = false;
    std::function<void(const std::string&)> onStatus;
    std::vector<std::string> statuses;
    ProgressBarState bars[2];
    std::vector<int> messages;
    std::vector<int> chosen;

  private:
    RunRequests& requests_;
};

using Texts = std::vector<std::string>;

using test::Rows;

class RunEngineTest : public ::testing::Test {
  protected:
    // A project of single items with the given sizes (item i is named "f<i>").
    void MakeProject(const std::vector<double>& sizes) {
        std::vector<ProjectItem> items;
        for (size_t i = 0; i < sizes.size(); ++i) {
            const std::string name = "/data/f" + std::to_string(i);
            items.push_back({name, 0, {{name, sizes[i]}}});
        }
        MakeProject(items);
    }
    void MakeProject(const std::vector<ProjectItem>& items) {
        ASSERT_TRUE(ProjectFile::Write(project, items, RunSettings{}));
        saved = test::ReadBytes(project);
    }
    bool Run(double mediaSize, int mediaCount = 0, int minItems = 0, RunOptions options = {},
             int maxItems = 32766) {
        params.mediaSize = mediaSize;
        params.mediaCount = static_cast<int16_t>(mediaCount);
        params.minItems = static_cast<int16_t>(minItems);
        params.maxItems = static_cast<int16_t>(maxItems);
        params.projectFolder = folder.Path();
        params.projectFileName = "p.mtb";
        return RunEngine(params, requests, observer, options);
    }
    // The items of medium n.
    Texts Ids(int medium) const {
        return Rows(project, "SELECT GID FROM DISC_" + std::to_string(medium) + "_ID");
    }
    Texts Waiting() const { return Rows(project, "SELECT GID FROM GP ORDER BY GID"); }
    bool NoLeftovers() const {
        return !fs::exists(project + ".TMP") && !fs::exists(project + ".TMP.TMP");
    }

    test::TempFolder folder;
    std::string project = folder.File("p.mtb");
    std::string saved;
    RunParameters params;
    RunRequests requests;
    RecordingObserver observer{requests};
};

TEST_F(RunEngineTest, FillsMediaAndLeavesTheResultsInTheProjectFile) {
    MakeProject({400, 300, 300, 200});
    ASSERT_TRUE(Run(700));
    EXPECT_TRUE(NoLeftovers());
    // The tables of the project and the run remain; the indexes that sped
    // the run up are gone again.
    EXPECT_EQ(
        Rows(project, "SELECT name FROM sqlite_master ORDER BY name"),
        (Texts{"DISC_1_ID", "DISC_1_SIZE", "DISC_2_ID", "DISC_2_SIZE", "GP", "MainDB", "SetUp"}));
    // Medium 1: the largest with the smallest, largest first.
    EXPECT_EQ(Ids(1), (Texts{"0", "3"}));
    EXPECT_EQ(Rows(project, "SELECT SIZE FROM DISC_1_ID"), (Texts{"400.0", "200.0"}));
    EXPECT_EQ(Rows(project, "SELECT SIZE FROM DISC_1_SIZE"), Texts{"600.0"});
    EXPECT_EQ(Ids(2), (Texts{"1", "2"}));
    EXPECT_TRUE(Waiting().empty());
    EXPECT_TRUE(observer.messages.empty());
    EXPECT_EQ(observer.chosen, (std::vector<int>{1, 2}));
}

// Smallest items that fill a medium exactly fit, the item limits hold when
// everything left fits as well, and the media count ends the run.
TEST_F(RunEngineTest, ExactFitsCountAndLimitsHold) {
    struct Case {
        std::vector<double> sizes;
        double mediaSize;
        int mediaCount;
        int minItems;
        int maxItems;
        std::vector<size_t> itemsPerMedium;
    };
    const std::vector<Case> cases = {
        {{681984000}, 681984000, 0, 0, 32766, {1}},
        {{5, 5, 5, 5}, 10, 0, 0, 32766, {2, 2}},
        {std::vector<double>(10, 10), 1000, 0, 0, 3, {3, 3, 3, 1}},
        {std::vector<double>(10, 10), 1000, 0, 3, 4, {4, 4}},
        {std::vector<double>(5, 600), 1000, 2, 0, 32766, {1, 1}},
    };
    for (const Case& c : cases) {
        fs::remove(project);
        MakeProject(c.sizes);
        observer.chosen.clear();
        ASSERT_TRUE(Run(c.mediaSize, c.mediaCount, c.minItems, {}, c.maxItems));
        std::vector<size_t> counts;
        for (int m = 1; m <= static_cast<int>(observer.chosen.size()); ++m)
            counts.push_back(Ids(m).size());
        EXPECT_EQ(counts, c.itemsPerMedium) << c.sizes.size() << " items of " << c.sizes[0];
        EXPECT_EQ(Waiting().size() + std::accumulate(counts.begin(), counts.end(), size_t{0}),
                  c.sizes.size());
    }
}

// The work database's item table, and discarding it leaves the project alone.
TEST_F(RunEngineTest, ItemTableSumsEachGroup) {
    MakeProject(std::vector<ProjectItem>{{"/d/a", 0, {{"/d/a", 10}}},
                                         {"/d/b", 0, {{"/d/b", 20}}},
                                         {"Group", 0, {{"/d/c", 5}, {"/d/e", 7}}},
                                         {"/d/f", 0, {{"/d/f", 30}}}});
    params.projectFolder = folder.Path();
    params.projectFileName = "p.mtb";
    RunDisplay display(observer);
    WorkDatabase work(params, display);
    ASSERT_TRUE(work.CreateWorkDatabase().ok());
    ASSERT_TRUE(work.PrepareItemTable());
    EXPECT_EQ(Rows(project + ".TMP", "SELECT GID || ':' || GSIZE FROM GP ORDER BY GID"),
              (Texts{"0:10.0", "1:20.0", "2:12.0", "3:30.0"}));
    EXPECT_EQ(observer.bars[1].max, 3);
    EXPECT_EQ(observer.statuses.back(), ResString(40043));

    std::vector<double> sizes;
    ASSERT_TRUE(work.LoadItemSizes(sizes));
    EXPECT_EQ(sizes, (std::vector<double>{30, 20, 12, 10}));
    work.DiscardWorkDatabase();
    EXPECT_TRUE(NoLeftovers());
    EXPECT_EQ(test::ReadBytes(project), saved);
}

// The first size's smallest items are known to fit although the search never
// evaluates them alone; when nothing better turns up they form the medium.
TEST_F(RunEngineTest, SmallestItemsFormTheMediumWhenTheSearchFindsNothing) {
    MakeProject({600, 350, 300});
    ASSERT_TRUE(Run(700));
    EXPECT_EQ(Ids(1), (Texts{"1", "2"}));
    EXPECT_EQ(Ids(2), Texts{"0"});
    EXPECT_TRUE(observer.messages.empty());

    MakeProject({3000, 2500});
    ASSERT_TRUE(Run(4000));
    EXPECT_EQ(Ids(1), Texts{"1"});
    EXPECT_EQ(Ids(2), Texts{"0"});

    // Empty files make a medium of total 0, recorded all the same.
    MakeProject({1000, 0, 0});
    ASSERT_TRUE(Run(700));
    EXPECT_EQ(Ids(1), (Texts{"1", "2"}));
    EXPECT_EQ(Rows(project, "SELECT SIZE FROM DISC_1_SIZE"), Texts{"0.0"});
    EXPECT_TRUE(observer.messages.empty());
}

TEST_F(RunEngineTest, NothingFitsOrTooFewOnTheFirstMediumEndsWithAMessage) {
    MakeProject({800, 701});
    ASSERT_TRUE(Run(700));
    EXPECT_EQ(observer.messages, (std::vector<int>{40025}));
    EXPECT_EQ(Waiting().size(), 2u);
    EXPECT_TRUE(Ids(1).empty());

    observer.messages.clear();
    MakeProject({500, 300, 200, 100});
    ASSERT_TRUE(Run(700, 0, 3));
    EXPECT_EQ(observer.messages, (std::vector<int>{40024}));
    EXPECT_TRUE(NoLeftovers());
}

TEST_F(RunEngineTest, LaterMediaEndTheRunQuietlyAndKeepWhatWasRecorded) {
    // Medium 1 takes 800 + 150 + 50; of the 900 and the 101 left only one
    // fits, and a medium must hold more than one.
    MakeProject({900, 800, 150, 101, 50});
    ASSERT_TRUE(Run(1000, 0, 1));
    EXPECT_EQ(Ids(1), (Texts{"1", "2", "4"}));
    EXPECT_TRUE(Ids(2).empty());
    EXPECT_EQ(Waiting(), (Texts{"0", "3"}));
    EXPECT_TRUE(observer.messages.empty());
}

TEST_F(RunEngineTest, AnAbortOrAnEmptyProjectLeavesTheProjectFileAsSaved) {
    // Twelve items of 100 to 155 on media of 500: every medium is searched.
    std::vector<double> sizes;
    for (int i = 0; i < 12; ++i)
        sizes.push_back(100 + 5 * i);
    MakeProject(sizes);
    observer.abortAt = 3;
    EXPECT_FALSE(Run(500.5));
    EXPECT_EQ(observer.chosen, (std::vector<int>{1, 2}));
    EXPECT_EQ(test::ReadBytes(project), saved);
    EXPECT_TRUE(NoLeftovers());

    MakeProject(std::vector<double>{});
    EXPECT_FALSE(Run(700));
    EXPECT_TRUE(observer.messages.empty());
    EXPECT_EQ(test::ReadBytes(project), saved);
    EXPECT_TRUE(NoLeftovers());
}

// A fault in the work database fails the run with its message and leaves the
// project as saved: rows of GP that cannot be written, a medium whose tables
// cannot be made, and a recording whose items never leave GP (the deletes
// silently dropped), which would otherwise bring the same medium round
// without end. A plan of the fewest-media method is recorded whole or not at
// all.
TEST_F(RunEngineTest, FaultsInTheWorkDatabaseFailTheRun) {
    struct Case {
        std::string plantedAt;  // the status line at which the fault appears
        std::string fault;
        PackingMethod method = PackingMethod::Sequential;
    };
    const std::vector<Case> cases = {
        {ResString(40043),
         "CREATE TRIGGER [PLANTED] BEFORE INSERT ON [GP] BEGIN SELECT RAISE(ABORT, 'full'); END"},
        {ResString(40043), "CREATE TABLE [DISC_2_SIZE] ([SIZE] DOUBLE)"},
        {RunDisplay::RecordingStatusText(1),
         "CREATE TRIGGER [PLANTED] BEFORE DELETE ON [GP] BEGIN SELECT RAISE(IGNORE); END"},
        {ResString(40043), "CREATE TABLE [DISC_2_SIZE] ([SIZE] DOUBLE)",
         PackingMethod::FewestMedia},
    };
    for (const Case& c : cases) {
        MakeProject({600, 600, 600});
        params.method = c.method;
        observer.messages.clear();
        observer.onStatus = [&](const std::string& text) {
            if (text == c.plantedAt) {
                EXPECT_EQ(test::Exec(params.WorkDatabasePath(), c.fault), SQLITE_OK);
            }
        };
        EXPECT_FALSE(Run(1000)) << c.fault;
        EXPECT_EQ(observer.messages, std::vector<int>{40027}) << c.fault;
        EXPECT_EQ(test::ReadBytes(project), saved) << c.fault;
        EXPECT_TRUE(NoLeftovers()) << c.fault;
    }
}

TEST_F(RunEngineTest, TimeLimitEndsAMediumAndTheRunGoesOn) {
    std::vector<double> sizes;
    for (int i = 0; i < 60; ++i)
        sizes.push_back(1000 + 7 * i);
    MakeProject(sizes);
    ASSERT_TRUE(Run(20000.5, 2, 0, {1e-9}));
    EXPECT_EQ(observer.chosen, (std::vector<int>{1, 2}));
    EXPECT_FALSE(requests.finish);
}

// The fewest-media method writes the same tables as the sequential one, media
// numbered fullest first.
TEST_F(RunEngineTest, FewestMediaPacksTheWholeCollectionAtOnce) {
    MakeProject({5, 5, 5, 5, 3});
    params.method = PackingMethod::FewestMedia;
    ASSERT_TRUE(Run(10));
    EXPECT_EQ(observer.chosen, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Rows(project, "SELECT SIZE FROM DISC_1_SIZE"), Texts{"10.0"});
    EXPECT_EQ(Rows(project, "SELECT SIZE FROM DISC_2_SIZE"), Texts{"10.0"});
    EXPECT_EQ(Ids(3), Texts{"4"});
    EXPECT_TRUE(Waiting().empty());
    EXPECT_TRUE(NoLeftovers());
    EXPECT_NE(std::find(observer.statuses.begin(), observer.statuses.end(), ResString(41103)),
              observer.statuses.end());
}

TEST_F(RunEngineTest, FewestMediaHonoursTheLimitsAndSaysWhyNothingWasPlaced) {
    params.method = PackingMethod::FewestMedia;
    MakeProject({600, 600, 600, 1200});
    ASSERT_TRUE(Run(1000, 2));
    EXPECT_EQ(observer.chosen, (std::vector<int>{1, 2}));
    EXPECT_EQ(Waiting(), (Texts{"2", "3"}));

    struct Case {
        std::vector<double> sizes;
        int minItems;
        int message;
    };
    for (const Case& c : {Case{{1500, 1200}, 0, 40025}, Case{{600, 600}, 1, 40024}}) {
        observer.messages.clear();
        MakeProject(c.sizes);
        ASSERT_TRUE(Run(1000, 0, c.minItems));
        EXPECT_EQ(observer.messages, std::vector<int>{c.message});
        EXPECT_EQ(Waiting().size(), c.sizes.size());
    }
}

// Abort leaves the project as it was; "確定" ends with a complete plan.
TEST_F(RunEngineTest, FewestMediaStopsOnRequest) {
    std::vector<double> sizes;
    for (int i = 0; i < 400; ++i)
        sizes.push_back(1000 + 37 * (i % 50));
    params.method = PackingMethod::FewestMedia;
    MakeProject(sizes);
    requests.abort = true;
    EXPECT_FALSE(Run(20000));
    EXPECT_EQ(test::ReadBytes(project), saved);
    EXPECT_TRUE(NoLeftovers());

    requests.abort = false;
    requests.finish = true;
    ASSERT_TRUE(Run(20000));
    EXPECT_FALSE(requests.finish);
    EXPECT_TRUE(Waiting().empty());
    EXPECT_FALSE(observer.chosen.empty());
}

TEST(RunDisplayTest, MediumNumbersLineUpBehindTheBlank) {
    const std::string searching = ResString(40052);
    EXPECT_EQ(RunDisplay::MediumStatusText(3), "   3" + searching);
    EXPECT_EQ(RunDisplay::MediumStatusText(100), " 100" + searching);
    EXPECT_EQ(RunDisplay::MediumStatusText(1000), " 1000" + searching);
    EXPECT_EQ(RunDisplay::RecordingStatusText(10), "  10" + ResString(40046));
    EXPECT_EQ(RunDisplay::SearchDetailText(12, 3.26, 0.99874),
              "12枚目  経過 3.3秒  最良の充填率 99.87%");
}

}  // namespace
}  // namespace zv
