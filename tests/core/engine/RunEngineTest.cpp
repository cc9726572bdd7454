#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/db/ProjectSideFiles.h"
#include "core/engine/RunDisplay.h"
#include "core/engine/RunEngine.h"
#include "core/engine/WorkDatabase.h"
#include "core/platform/FileLock.h"
#include "core/project/ProjectFile.h"
#include "core/strings/StringTable.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/HotJournal.h"
#include "tests/support/OtherProcess.h"
#include "tests/support/SqlRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using test::Rows;
using test::Value;

// Everything a run shows, and an abort made on cue.
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

std::string Join(const Texts& texts) {
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : ",") + text;
    return joined;
}

class RunEngineTest : public ::testing::Test {
  protected:
    // A project, alone in its folder, of single items with the given sizes
    // (item i is named "/data/f<i>").
    void MakeProject(const std::vector<double>& sizes) {
        std::vector<ProjectItem> items;
        for (size_t i = 0; i < sizes.size(); ++i) {
            const std::string name = "/data/f" + std::to_string(i);
            items.push_back({name, 0, {{name, sizes[i]}}});
        }
        MakeProject(items);
    }
    void MakeProject(const std::vector<ProjectItem>& items) {
        for (const auto& entry : fs::directory_iterator(folder.Path()))
            fs::remove_all(entry.path());
        ASSERT_TRUE(ProjectFile::Write(project, items, RunSettings{}));
        saved = test::ReadBytes(project);
    }
    bool Run(double mediaSize, int mediaCount = 0, int minItems = 0, int maxItems = 32766,
             RunOptions options = {}) {
        params.mediaSize = mediaSize;
        params.mediaCount = static_cast<int16_t>(mediaCount);
        params.minItems = static_cast<int16_t>(minItems);
        params.maxItems = static_cast<int16_t>(maxItems);
        params.projectFolder = folder.Path();
        params.projectFileName = "p.mtb";
        observer.messages.clear();
        observer.chosen.clear();
        return RunEngine(params, requests, observer, options);
    }
    // The items of each medium recorded, then those left: "0,3 1,2 | 4".
    std::string Plan() const {
        std::string plan;
        for (int m = 1;; ++m) {
            const Texts ids = Rows(project, "SELECT GID FROM DISC_" + std::to_string(m) + "_ID");
            if (ids.empty())
                break;
            plan += Join(ids) + " ";
        }
        const std::string waiting = Join(Rows(project, "SELECT GID FROM GP ORDER BY GID"));
        return plan + "|" + (waiting.empty() ? "" : " " + waiting);
    }
    Texts FolderFiles() const {
        Texts names;
        for (const auto& entry : fs::directory_iterator(folder.Path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    test::TempFolder folder;
    std::string project = folder.File("p.mtb");
    std::string saved;
    RunParameters params;
    RunRequests requests;
    RecordingObserver observer{requests};
};

// Which items go on which medium, and why a run places nothing: exact fits,
// the item limits, the media count, the smallest items when the search finds
// nothing better, a later medium that cannot be filled, both methods.
TEST_F(RunEngineTest, PlansAndMessages) {
    struct Case {
        std::vector<double> sizes;
        double mediaSize;
        int mediaCount, minItems, maxItems;
        std::string plan;
        int message = 0;
        PackingMethod method = PackingMethod::Sequential;
    };
    const std::vector<double> tens(10, 10);
    const PackingMethod fewest = PackingMethod::FewestMedia;
    const Case cases[] = {
        {{400, 300, 300, 200}, 700, 0, 0, 32766, "0,3 1,2 |"},
        {{681984000}, 681984000, 0, 0, 32766, "0 |"},
        {{5, 5, 5, 5}, 10, 0, 0, 32766, "1,3 0,2 |"},
        {tens, 1000, 0, 0, 3, "0,1,2 3,4,5 6,7,8 9 |"},
        {tens, 1000, 0, 3, 4, "0,1,2,3 4,5,6,7 | 8,9"},
        {{600, 600, 600, 600, 600}, 1000, 2, 0, 32766, "4 3 | 0,1,2"},
        // The first size's smallest items are known to fit although the
        // search never evaluates them alone; empty files make a medium too.
        {{600, 350, 300}, 700, 0, 0, 32766, "1,2 0 |"},
        {{3000, 2500}, 4000, 0, 0, 32766, "1 0 |"},
        {{1000, 0, 0}, 700, 0, 0, 32766, "1,2 | 0"},
        {{800, 701}, 700, 0, 0, 32766, "| 0,1", 40025},
        {{500, 300, 200, 100}, 700, 0, 3, 32766, "| 0,1,2,3", 40024},
        // A later medium that can take only one item ends the run quietly.
        {{900, 800, 150, 101, 50}, 1000, 0, 1, 32766, "1,2,4 | 0,3"},
        {{5, 5, 5, 5, 3}, 10, 0, 0, 32766, "0,1 2,3 4 |", 0, fewest},
        {{600, 600, 600, 1200}, 1000, 2, 0, 32766, "0 1 | 2,3", 0, fewest},
        {{1500, 1200}, 1000, 0, 0, 32766, "| 0,1", 40025, fewest},
        {{600, 600}, 1000, 0, 1, 32766, "| 0,1", 40024, fewest},
    };
    for (const Case& c : cases) {
        const std::string label = ::testing::PrintToString(c.sizes) + " on " +
                                  std::to_string(c.mediaSize) +
                                  (c.method == fewest ? " fewest" : "");
        MakeProject(c.sizes);
        params.method = c.method;
        ASSERT_TRUE(Run(c.mediaSize, c.mediaCount, c.minItems, c.maxItems)) << label;
        EXPECT_EQ(Plan(), c.plan) << label;
        EXPECT_EQ(observer.messages, c.message ? std::vector<int>{c.message} : std::vector<int>{})
            << label;
        EXPECT_EQ(FolderFiles(), Texts{"p.mtb"}) << label;
    }
}

// The tables of the project and the run remain, media numbered fullest first
// by the fewest-media method; the indexes that sped the run up are gone.
TEST_F(RunEngineTest, LeavesTheResultsInTheProjectFile) {
    for (const PackingMethod method : {PackingMethod::Sequential, PackingMethod::FewestMedia}) {
        MakeProject({400, 300, 300, 200});
        params.method = method;
        ASSERT_TRUE(Run(700));
        EXPECT_EQ(Rows(project, "SELECT name FROM sqlite_master ORDER BY name"),
                  (Texts{"DISC_1_ID", "DISC_1_SIZE", "DISC_2_ID", "DISC_2_SIZE", "GP", "Integrity",
                         "MainDB", "Media", "Plan", "SetUp"}));
        const bool fewest = method == PackingMethod::FewestMedia;
        EXPECT_EQ(Rows(project, "SELECT SIZE FROM DISC_1_ID"),
                  (fewest ? Texts{"400.0", "300.0"} : Texts{"400.0", "200.0"}));
        EXPECT_EQ(Rows(project,
                       "SELECT SIZE FROM DISC_1_SIZE UNION ALL SELECT SIZE FROM "
                       "DISC_2_SIZE"),
                  (fewest ? Texts{"700.0", "500.0"} : Texts{"600.0", "600.0"}));
        EXPECT_EQ(std::count(observer.statuses.begin(), observer.statuses.end(), ResString(41103)),
                  fewest ? 1 : 0);
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
    EXPECT_FALSE(fs::exists(project + ".TMP"));
    EXPECT_EQ(test::ReadBytes(project), saved);
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
    EXPECT_EQ(FolderFiles(), Texts{"p.mtb"});

    MakeProject(std::vector<double>{});
    EXPECT_FALSE(Run(700));
    EXPECT_TRUE(observer.messages.empty());
    EXPECT_EQ(test::ReadBytes(project), saved);
    EXPECT_EQ(FolderFiles(), Texts{"p.mtb"});
}

// A fault in the work database fails the run with its message and leaves the
// project as saved: rows of GP that cannot be written, a medium whose tables
// cannot be made, and a recording whose items never leave GP (the deletes
// silently dropped), which would otherwise bring the same medium round
// without end. A plan of the fewest-media method is recorded whole or not at
// all.
TEST_F(RunEngineTest, FaultsInTheWorkDatabaseFailTheRun) {
    const std::string tableMade = "CREATE TABLE [DISC_2_SIZE] ([SIZE] DOUBLE)";
    const struct {
        std::string plantedAt;  // the status line at which the fault appears
        std::string fault;
        PackingMethod method;
    } cases[] = {
        {ResString(40043),
         "CREATE TRIGGER [PLANTED] BEFORE INSERT ON [GP] BEGIN SELECT RAISE(ABORT, 'full'); END",
         PackingMethod::Sequential},
        {ResString(40043), tableMade, PackingMethod::Sequential},
        {RunDisplay::RecordingStatusText(1),
         "CREATE TRIGGER [PLANTED] BEFORE DELETE ON [GP] BEGIN SELECT RAISE(IGNORE); END",
         PackingMethod::Sequential},
        {ResString(40043), tableMade, PackingMethod::FewestMedia},
    };
    for (const auto& c : cases) {
        MakeProject({600, 600, 600});
        params.method = c.method;
        observer.onStatus = [&](const std::string& text) {
            if (text == c.plantedAt) {
                EXPECT_EQ(test::Exec(params.WorkDatabasePath(), c.fault), SQLITE_OK);
            }
        };
        EXPECT_FALSE(Run(1000)) << c.fault;
        EXPECT_EQ(observer.messages, std::vector<int>{40027}) << c.fault;
        EXPECT_EQ(test::ReadBytes(project), saved) << c.fault;
        EXPECT_EQ(FolderFiles(), Texts{"p.mtb"}) << c.fault;
    }
}

TEST_F(RunEngineTest, TimeLimitEndsAMediumAndTheRunGoesOn) {
    std::vector<double> sizes;
    for (int i = 0; i < 60; ++i)
        sizes.push_back(1000 + 7 * i);
    MakeProject(sizes);
    ASSERT_TRUE(Run(20000.5, 2, 0, 32766, {1e-9}));
    EXPECT_EQ(observer.chosen, (std::vector<int>{1, 2}));
    EXPECT_FALSE(requests.finish);
}

// The limit counts searching time only: a pause longer than the limit, made
// as the medium's search begins, does not end the medium on resuming, and
// the clock shown leaves the pause out.
TEST_F(RunEngineTest, APauseDoesNotCountTowardsTheTimeLimit) {
    std::vector<double> sizes;
    for (int i = 0; i < 60; ++i)
        sizes.push_back(1000 + 7 * i);
    MakeProject(sizes);
    struct PausingObserver : RecordingObserver {
        using RecordingObserver::RecordingObserver;
        void Yield() override {
            if (!paused) {
                paused = true;
                pauseRequests->pause = true;
            } else if (resumed) {
                ++yieldsAfterResume;
            }
        }
        void PauseWait() override {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            pauseRequests->pause = false;
            resumed = true;
        }
        void DetailChanged(const std::string& text) override { details.push_back(text); }
        RunRequests* pauseRequests = nullptr;
        bool paused = false, resumed = false;
        int yieldsAfterResume = 0;
        Texts details;
    };
    PausingObserver pausing(requests);
    pausing.pauseRequests = &requests;
    params.mediaSize = 20000.5;
    params.mediaCount = 1;
    params.maxItems = 32766;
    params.projectFolder = folder.Path();
    params.projectFileName = "p.mtb";
    ASSERT_TRUE(RunEngine(params, requests, pausing, {1}));
    EXPECT_TRUE(pausing.resumed);
    // Ended at once, the medium would have yielded once after the pause.
    EXPECT_GT(pausing.yieldsAfterResume, 3);
    ASSERT_FALSE(pausing.details.empty());
    EXPECT_LT(std::stod(pausing.details.back().substr(pausing.details.back().find("経過 ") + 7)),
              1.5)
        << pausing.details.back();
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
    EXPECT_EQ(FolderFiles(), Texts{"p.mtb"});

    requests.abort = false;
    requests.finish = true;
    ASSERT_TRUE(Run(20000));
    EXPECT_FALSE(requests.finish);
    EXPECT_EQ(Plan().back(), '|') << "every item placed";
    EXPECT_FALSE(observer.chosen.empty());
}

// What a save or run that was cut off left beside the project (databases of
// the program's and SQLite's journals) the next run clears away; it recovers
// the project's own journal, and ends with its results in the project.
// Earlier versions even moved the project aside while they replaced it. A
// file of the user's under such a name stays, and one where the run's work
// database goes stops the run.
TEST_F(RunEngineTest, WhatEarlierRunsLeftIsClearedAwayAndNothingElse) {
    enum Left { Copy, Junk, OtherJournal, OwnJournal, MovedAside };
    const struct {
        std::string name;
        Left how;
        bool stays;
    } cases[] = {
        {"p.mtb.TMP", Copy, false},
        {"p.mtb.TMP.TMP", Copy, false},
        {"p.mtb.saving", Copy, false},
        {"p.mtb.saving.TMP", Copy, false},
        {"p.mtb.TMP-journal", OtherJournal, false},
        {"p.mtb.saving-journal", OtherJournal, false},
        {"p.mtb-journal", OwnJournal, false},
        {"p.mtb.TMP.TMP", MovedAside, false},
        {"p.mtb.lock", Junk, false},
        {"p.mtb.TMP", Junk, true},
        {"p.mtb.TMP.TMP", Junk, true},
        {"p.mtb.saving", Junk, true},
        {"p.mtb.saving.TMP", Junk, true},
        {"p.mtb.saving.lock", Junk, true},
        {"p.mtb.saving-journal", Junk, true},
    };
    for (const auto& [name, how, stays] : cases) {
        MakeProject({400, 300, 300, 200});
        const std::string left = folder.File(name);
        if (how == Copy) {
            fs::copy_file(project, left);
        } else if (how == OwnJournal) {
            test::LeaveHotJournal(project);
        } else if (how == MovedAside) {
            fs::rename(project, left);
            // The first page of a copy cut short carries the program's mark.
            test::WriteBytes(project + ".TMP", test::ReadBytes(left).substr(0, 4096));
        } else if (how == OtherJournal) {
            const std::string other = folder.File("other.mtb");
            ASSERT_TRUE(ProjectFile::Write(other, {{"x", 0, {{"x", 1}}}}, RunSettings{}));
            test::LeaveHotJournal(other);
            fs::rename(other + "-journal", left);
            fs::remove(other);
        } else {
            test::WriteBytes(left, "left over");
        }
        const std::string label = name + " " + std::to_string(how);
        // Only the work database's place stops the run.
        const bool runs = !(stays && name == "p.mtb.TMP");
        EXPECT_EQ(Run(700), runs) << label;
        EXPECT_EQ(observer.messages.empty(), runs) << label;
        EXPECT_EQ(Plan(), runs ? "0,3 1,2 |" : "|") << label;
        EXPECT_EQ(Value(project, "SELECT PATH FROM MainDB"), "/data/f0") << label;
        EXPECT_EQ(Value(project, "PRAGMA integrity_check"), "ok") << label;
        const Texts expected = stays ? Texts{"p.mtb", name} : Texts{"p.mtb"};
        EXPECT_EQ(FolderFiles(), expected) << label;
        if (stays) {
            EXPECT_EQ(test::ReadBytes(left), "left over") << label;
        }
        fs::remove(left);
    }
}

// Whichever step of putting the results in place fails, and however, the run
// fails with one message, and the project is the one saved; when only the
// folder could not be synced after the rename, the whole new one holds the
// results and the run has completed.
TEST_F(RunEngineTest, ACommitThatFailsFailsTheRunAndKeepsTheProject) {
    MakeProject({400, 300, 300, 200});
    std::size_t commitStart = 0;
    {
        test::FaultyFiles counting(1 << 30, 0);
        ASSERT_TRUE(Run(700));
        const Texts& calls = counting.Calls();
        commitStart = calls.size();
        while (commitStart > 0 && calls[commitStart - 1] != "open p.mtb.TMP")
            --commitStart;
        ASSERT_GT(commitStart, 0u);
    }
    const std::string folderName = fs::path(folder.Path()).filename().string();
    for (int failAt = static_cast<int>(commitStart);; ++failAt) {
        for (const int error : test::kDiskErrors) {
            MakeProject({400, 300, 300, 200});
            test::FaultyFiles disk(failAt, error);
            const bool completed = Run(700);
            if (!disk.Failed()) {
                EXPECT_TRUE(completed);
                return;
            }
            const std::string call = disk.FailedCall();
            // Once renamed, the results are the project's.
            const bool placed = call == "fsync " + folderName;
            EXPECT_EQ(completed, placed) << call;
            EXPECT_EQ(observer.messages, placed ? std::vector<int>{} : std::vector<int>{41112})
                << call;
            if (call != "fsync " + folderName) {
                EXPECT_EQ(test::ReadBytes(project), saved) << call;
            }
            EXPECT_EQ(Value(project, "PRAGMA integrity_check"), "ok") << call;
            EXPECT_EQ(FolderFiles(), Texts{"p.mtb"}) << call;
        }
    }
}

// A project that another process runs or saves, or whose write permission is
// taken away, is not run: the other run's work database stays untouched.
// Opening a project while this process runs it (another window) leaves the
// run's work database alone too; once the run is over it goes.
TEST_F(RunEngineTest, AProjectInUseOrReadOnlyIsNotRun) {
    MakeProject({400, 300, 300, 200});
    fs::copy_file(project, project + ".TMP");
    {
        test::OtherProcess otherRun([&] {
            static FileLock held(project);
            return held.Take().ok();
        });
        ASSERT_TRUE(otherRun.Holding());
        EXPECT_FALSE(Run(700));
        EXPECT_EQ(observer.messages, std::vector<int>{41110});
        EXPECT_EQ(test::ReadBytes(project + ".TMP"), saved);
        EXPECT_EQ(test::ReadBytes(project), saved);
    }
    {
        FileLock run(project);
        ASSERT_TRUE(run.Take().ok());
        ASSERT_TRUE(RecoverProjectFile(project).ok());
        EXPECT_TRUE(fs::exists(project + ".TMP"));
    }
    ASSERT_TRUE(RecoverProjectFile(project).ok());
    EXPECT_EQ(FolderFiles(), Texts{"p.mtb"});

    ASSERT_EQ(chmod(project.c_str(), 0444), 0);
    EXPECT_FALSE(Run(700));
    EXPECT_EQ(observer.messages, std::vector<int>{41111});
    EXPECT_EQ(test::ReadBytes(project), saved);
    EXPECT_EQ(FolderFiles(), Texts{"p.mtb"});
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
