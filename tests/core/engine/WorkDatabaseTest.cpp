// The work database takes the project's place in one step, or not at all:
// what earlier runs left is cleared first, and a run that cannot put its
// results in place fails with the project as it was.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/engine/RunEngine.h"
#include "core/engine/WorkDatabase.h"
#include "core/platform/FileLock.h"
#include "core/project/ProjectFile.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/HotJournal.h"
#include "tests/support/OtherProcess.h"
#include "tests/support/SqlRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

class MessageLog : public RunObserver {
  public:
    void StatusChanged(const std::string&) override {}
    void ProgressChanged(int, const ProgressBarState&) override {}
    void Yield() override {}
    void PauseWait() override {}
    void Message(int id, const std::string&) override { messages.push_back(id); }
    void MediumChosen(const MediumReport&) override {}

    std::vector<int> messages;
};

using test::Value;

class WorkDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override { MakeProject(); }

    void MakeProject() {
        fs::remove_all(folder.Path());
        fs::create_directory(folder.Path());
        std::vector<ProjectItem> items;
        for (const double size : {400, 300, 300, 200}) {
            const std::string name = "/data/f" + std::to_string(items.size());
            items.push_back({name, 0, {{name, size}}});
        }
        ASSERT_TRUE(ProjectFile::Write(project, items, RunSettings{}));
        saved = test::ReadBytes(project);
    }
    bool Run() {
        params.mediaSize = 700;
        params.maxItems = 32766;
        params.projectFolder = folder.Path();
        params.projectFileName = "p.mtb";
        log.messages.clear();
        return RunEngine(params, requests, log);
    }
    // Media recorded in the project file.
    std::string Media() const {
        return Value(project, "SELECT count(*) FROM sqlite_master WHERE name LIKE 'DISC_%_ID'");
    }
    std::vector<std::string> FolderFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.Path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    test::TempFolder folder;
    std::string project = folder.File("p.mtb");
    std::string saved;
    RunParameters params;
    RunRequests requests;
    MessageLog log;
};

using Names = std::vector<std::string>;

// Whatever a save or run that was cut off left beside the project, the next
// run clears it away, recovers the project's own journal, and ends with its
// results in the project and nothing else in the folder.
TEST_F(WorkDatabaseTest, WhatEarlierRunsLeftIsClearedAway) {
    const struct {
        const char* left;
        bool hotJournal;  // a journal of another database, else junk
    } cases[] = {
        {"p.mtb.TMP", false},    {"p.mtb.TMP-journal", true},    {"p.mtb.TMP.TMP", false},
        {"p.mtb.saving", false}, {"p.mtb.saving-journal", true}, {"p.mtb.saving.TMP", false},
        {"p.mtb-wal", false},    {"p.mtb.lock", false},
    };
    for (const auto& c : cases) {
        MakeProject();
        if (c.hotJournal) {
            const std::string other = folder.File("other.mtb");
            ASSERT_TRUE(ProjectFile::Write(other, {{"x", 0, {{"x", 1}}}}, RunSettings{}));
            test::LeaveHotJournal(other);
            fs::rename(other + "-journal", folder.File(c.left));
            fs::remove(other);
        } else {
            test::WriteBytes(folder.File(c.left), "left over");
        }
        EXPECT_TRUE(Run()) << c.left;
        EXPECT_TRUE(log.messages.empty()) << c.left;
        EXPECT_EQ(Media(), "2") << c.left;
        EXPECT_EQ(FolderFiles(), Names{"p.mtb"}) << c.left;
    }

    // The project's own journal is rolled back into it, as on any open.
    MakeProject();
    test::LeaveHotJournal(project);
    EXPECT_TRUE(Run());
    EXPECT_EQ(Value(project, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(Value(project, "SELECT PATH FROM MainDB"), "/data/f0");
    EXPECT_EQ(FolderFiles(), Names{"p.mtb"});

    // Earlier versions moved the project aside while they replaced it.
    MakeProject();
    fs::rename(project, project + ".TMP.TMP");
    test::WriteBytes(project + ".TMP", "half a work database");
    EXPECT_TRUE(Run());
    EXPECT_EQ(Media(), "2");
    EXPECT_EQ(FolderFiles(), Names{"p.mtb"});
}

// Whichever step of putting the results in place fails, and however, the run
// fails with one message, and the project is the one saved (or, when only the
// folder could not be synced after the rename, the whole new one).
TEST_F(WorkDatabaseTest, ACommitThatFailsFailsTheRunAndKeepsTheProject) {
    std::size_t commitStart = 0;
    {
        test::FaultyFiles counting(1 << 30, 0);
        ASSERT_TRUE(Run());
        const std::vector<std::string>& calls = counting.Calls();
        commitStart = calls.size();
        while (commitStart > 0 && calls[commitStart - 1] != "open p.mtb.TMP")
            --commitStart;
        ASSERT_GT(commitStart, 0u);
    }
    const std::string folderName = fs::path(folder.Path()).filename().string();
    for (int failAt = static_cast<int>(commitStart);; ++failAt) {
        for (const int error : test::kDiskErrors) {
            MakeProject();
            test::FaultyFiles disk(failAt, error);
            const bool completed = Run();
            if (!disk.Failed()) {
                EXPECT_TRUE(completed);
                return;
            }
            const std::string call = disk.FailedCall();
            EXPECT_FALSE(completed) << call;
            EXPECT_EQ(log.messages, std::vector<int>{41112}) << call;
            if (call != "fsync " + folderName) {
                EXPECT_EQ(test::ReadBytes(project), saved) << call;
            }
            EXPECT_EQ(Value(project, "PRAGMA integrity_check"), "ok") << call;
            EXPECT_EQ(FolderFiles(), Names{"p.mtb"}) << call;
        }
    }
}

// A project that another process runs or saves, or whose write permission is
// taken away, is not run: the other run's work database stays untouched.
TEST_F(WorkDatabaseTest, AProjectInUseOrReadOnlyIsNotRun) {
    test::WriteBytes(project + ".TMP", "another run's work database");
    {
        test::OtherProcess otherRun([&] {
            static FileLock held(project);
            return held.Take().ok();
        });
        ASSERT_TRUE(otherRun.Holding());
        EXPECT_FALSE(Run());
        EXPECT_EQ(log.messages, std::vector<int>{41110});
        EXPECT_EQ(test::ReadBytes(project + ".TMP"), "another run's work database");
        EXPECT_EQ(test::ReadBytes(project), saved);
    }

    ASSERT_EQ(chmod(project.c_str(), 0444), 0);
    EXPECT_FALSE(Run());
    EXPECT_EQ(log.messages, std::vector<int>{41111});
    EXPECT_EQ(test::ReadBytes(project), saved);
    EXPECT_EQ(FolderFiles(), Names{"p.mtb"});
}

// Opening a project while this process runs it (another window) leaves the
// run's work database alone; once the run is over it goes.
TEST_F(WorkDatabaseTest, OpeningAProjectLeavesTheFilesOfItsRunningRun) {
    test::WriteBytes(project + ".TMP", "the running run's work database");
    {
        FileLock run(project);
        ASSERT_TRUE(run.Take().ok());
        ASSERT_TRUE(ProjectFile::Read(project, RunSettings{}));
        EXPECT_TRUE(fs::exists(project + ".TMP"));
    }
    ASSERT_TRUE(ProjectFile::Read(project, RunSettings{}));
    EXPECT_EQ(FolderFiles(), Names{"p.mtb"});
}

}  // namespace
}  // namespace zv
