#include <filesystem>
#include <functional>

#include "core/engine/RunDisplay.h"
#include "core/project/AfterRunConfirmation.h"
#include "core/project/ProjectFile.h"
#include "core/project/SaveProject.h"
#include "core/project/StartRun.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/ScratchFolder.h"
#include "core/strings/StringTable.h"
#include "tests/core/project/DocumentTest.h"
#include "tests/support/SqlRows.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

using namespace test;
using Media = std::vector<int16_t>;

RunSettings Settings(const std::string& mediaSize) {
    return RunSettings{mediaSize, 0, 32766, 32766, 0, false, 0, ""};
}

// The desktop's part of a run as a script: the settings dialog applies the
// given settings or is cancelled, the run dialog does what the test asks at a
// status line.
class ScriptedHost : public RunHost, public RunObserver {
  public:
    explicit ScriptedHost(ProjectDocument& project) : project_(project) {}
    bool ConfirmRunSettings() override {
        calls.push_back("settings");
        if (onSettings)
            onSettings();
        if (apply)
            project_.SetRunSettings(*apply);
        return apply.has_value();
    }
    void OpenRunDialog() override { calls.push_back("open"); }
    RunObserver& Observer() override { return *this; }
    RunRequests& Requests() override { return requests; }
    void CloseRunDialog() override {
        calls.push_back("close");
        if (onClose)
            onClose();
    }
    void RunStateChanged() override { calls.push_back(App().running ? "running" : "idle"); }
    void ShowResults() override { calls.push_back("results"); }
    void StatusChanged(const std::string& text) override {
        if (onStatus)
            onStatus(text);
    }
    void ProgressChanged(int, const ProgressBarState&) override {}
    void Yield() override {}
    void PauseWait() override {}
    void MediumChosen(const MediumReport&) override {}

    std::optional<RunSettings> apply = Settings("700");
    std::function<void()> onSettings, onClose;
    std::function<void(const std::string&)> onStatus;
    RunRequests requests;
    Texts calls;

  private:
    ProjectDocument& project_;
};

Media MediaOf(const ProjectDocument& project) {
    Media media;
    for (const ItemRecord& item : project.Items())
        media.push_back(item.Medium);
    return media;
}

const char* const kFailed = "実行は失敗しました";

class StartRunTest : public DocumentTest {
  protected:
    // Four files that fill two media of 700 bytes: a and d, then b and c.
    StartRunTest() {
        Add(project,
            {MakeFile("a", 400), MakeFile("b", 300), MakeFile("c", 300), MakeFile("d", 200)});
    }
    // After every start the program is idle again.
    ~StartRunTest() override {
        EXPECT_FALSE(App().running);
        EXPECT_EQ(App().runRequests, nullptr);
        App().running = false;
        App().runRequests = nullptr;
    }
    void SaveAs(const std::string& name) {
        project.SetFilePath(folder.File(name));
        ASSERT_TRUE(SaveProject(project, kSaveToPath, false));
    }
    Texts SavedMedia() const {
        return Rows(project.FilePath(), "SELECT DISTINCT CDNUMBER FROM MainDB");
    }

    ProjectDocument project;
    ScriptedHost host{project};
};

TEST_F(StartRunTest, CancelledSettingsChangeNothingAndSaveNothing) {
    host.apply.reset();
    EXPECT_FALSE(StartRun(project, host));
    EXPECT_EQ(host.calls, Texts{"settings"});
    EXPECT_FALSE(fs::exists(project.TemporaryProjectPath()));
    project.Items()[0].Medium = 1;
    SaveAs("saved.mtb");
    const std::string before = ReadBytes(project.FilePath());
    EXPECT_FALSE(StartRun(project, host));
    EXPECT_FALSE(project.Modified());
    EXPECT_EQ(MediaOf(project), (Media{1, 0, 0, 0}));
    EXPECT_EQ(ReadBytes(project.FilePath()), before);
}

// A start while a run is on (found at once, or after the settings were asked)
// is refused and leaves the run's flag, requests and dialog alone.
TEST_F(StartRunTest, ASecondStartIsRefusedAndLeavesTheRunInProgressAlone) {
    ProjectDocument second;
    Add(second, {MakeFile("e", 100), MakeFile("f", 100)});
    ScriptedHost secondHost(second);
    host.onStatus = [&](const std::string& status) {
        if (status != RunDisplay::MediumStatusText(1) || !secondHost.calls.empty())
            return;
        ui.Answer(MsgResult::OK);
        EXPECT_FALSE(StartRun(second, secondHost));
        EXPECT_TRUE(App().running);
        EXPECT_EQ(App().runRequests, &host.requests);
        secondHost.calls.push_back("refused");
    };
    ui.Answer(MsgResult::OK);
    EXPECT_TRUE(StartRun(project, host));
    EXPECT_EQ(secondHost.calls, Texts{"refused"});
    const std::string refusal =
        "既に他で実行が開始されています\r\n複数を同時に実行することは出来ません";
    ExpectBox(ui.Boxes().at(0), refusal, "Zarvopack");
    EXPECT_EQ(MediaOf(project), (Media{1, 2, 2, 1}));
    EXPECT_EQ(MediaOf(second), (Media{0, 0}));
    secondHost.onSettings = [] { App().running = true; };
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(StartRun(second, secondHost));
    EXPECT_EQ(ui.Boxes().back().text, refusal);
    EXPECT_EQ(App().runRequests, nullptr);
    App().running = false;
}

// The settings are applied and saved even when the run cannot start.
TEST_F(StartRunTest, AnUnresolvableMediaSizeStartsNothing) {
    SaveAs("project.mtb");
    host.apply = Settings("ＤＶＤ");
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(StartRun(project, host));
    EXPECT_EQ(host.calls, (Texts{"settings", "open", "close"})) << "no run";
    EXPECT_EQ(ProjectFile::Read(project.FilePath(), RunSettings())->settings.MediaSize, "ＤＶＤ");
    EXPECT_FALSE(project.Modified());
}

// Applying the run settings, which show the after-run action, confirms the
// action for the saved file; a changed action is another one.
TEST_F(StartRunTest, AppliedRunSettingsConfirmTheAfterRunActionOfTheFile) {
    RunSettings withAction = Settings("700");
    withAction.AfterRun = 1;
    withAction.AfterPath = folder.File("media");
    host.apply = withAction;
    SaveAs("project.mtb");
    EXPECT_FALSE(AfterRunConfirmation(project.FilePath(), withAction).Confirmed());
    ui.Answer(MsgResult::OK);
    EXPECT_TRUE(StartRun(project, host));
    EXPECT_TRUE(AfterRunConfirmation(project.FilePath(), withAction).Confirmed());
    withAction.AfterPath += "2";
    EXPECT_FALSE(AfterRunConfirmation(project.FilePath(), withAction).Confirmed());
    EXPECT_FALSE(AfterRunConfirmation(folder.File("other.mtb"), host.apply.value()).Confirmed());
}

// Whatever the end of its run, an untitled project stays untitled: a failed
// run once left the window pointing at its temporary copy, which the next
// save then wrote and the next close deleted. The run dialog is gone before
// the end message shows.
TEST_F(StartRunTest, AnUntitledProjectRunsInATemporaryFileAndStaysUntitled) {
    // Not beside the program, where a user may not write, but in a private
    // folder of the user's.
    const std::string temporary = project.TemporaryProjectPath();
    EXPECT_EQ(fs::path(temporary).parent_path(), ScratchFolder());
    bool sawFile = false;
    host.onStatus = [&](const std::string&) {
        sawFile = sawFile || (fs::exists(temporary) && project.FilePath() == temporary &&
                              project.Caption() == "無題1" &&
                              (fs::status(temporary).permissions() & fs::perms::all) ==
                                  (fs::perms::owner_read | fs::perms::owner_write));
        EXPECT_EQ(App().runRequests, &host.requests);
    };
    ui.Answer(MsgResult::OK);
    host.onClose = [&] { EXPECT_TRUE(ui.Boxes().empty()); };
    EXPECT_TRUE(StartRun(project, host));
    EXPECT_TRUE(sawFile);
    EXPECT_EQ(ui.Boxes().back().text, "実行は完了しました");
    EXPECT_EQ(host.calls, (Texts{"settings", "open", "running", "close", "results", "idle"}));
    EXPECT_EQ(MediaOf(project), (Media{1, 2, 2, 1}));
    EXPECT_TRUE(project.Modified());
    project.SetModified(false);
    ScriptedHost aborting(project);
    aborting.onStatus = [&](const std::string&) { aborting.requests.abort = true; };
    aborting.onClose = [&] { EXPECT_EQ(ui.Boxes().size(), 1u); };
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(StartRun(project, aborting));
    // The user stopped it: nothing failed.
    EXPECT_EQ(ui.Boxes().back().text, "実行を中止しました\r\n振り分けの結果はありません");
    EXPECT_EQ(project.FilePath() + project.Caption(), "無題1");
    EXPECT_FALSE(fs::exists(temporary));
    EXPECT_FALSE(project.Modified());
}

// An abort puts every medium back to zero, in the window and the file.
TEST_F(StartRunTest, ResultsStayInTheProjectFileAndAnAbortPutsEveryMediumBackToZero) {
    // Six files: the second medium is searched too.
    Add(project, {MakeFile("e", 350), MakeFile("f", 350)});
    SaveAs("project.mtb");
    ui.Answer(MsgResult::OK);
    ASSERT_TRUE(StartRun(project, host));
    EXPECT_EQ(project.FilePath() + project.Caption(), folder.File("project.mtb") + "project");
    EXPECT_EQ(MediaOf(project), (Media{1, 3, 2, 1, 3, 2}));
    ASSERT_TRUE(SaveProject(project, kSaveToPath, false));
    ScriptedHost aborting(project);
    std::string asSaved;
    aborting.onStatus = [&](const std::string& status) {
        if (asSaved.empty())
            asSaved = ReadBytes(project.FilePath());
        if (status == RunDisplay::MediumStatusText(2))
            aborting.requests.abort = true;
    };
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(StartRun(project, aborting));
    EXPECT_EQ(MediaOf(project), Media(6, 0));
    EXPECT_EQ(SavedMedia(), Texts{"0"});
    EXPECT_EQ(ReadBytes(project.FilePath()), asSaved);
    EXPECT_FALSE(project.Modified());
    EXPECT_FALSE(fs::exists(project.FilePath() + ".TMP"));
}

// The applied settings are in no file, and an untitled project gets no
// temporary file to point at.
TEST_F(StartRunTest, AFailedSaveStopsTheRunAndKeepsTheProjectModified) {
    project.SetFilePath(folder.File("missing/project.mtb"));
    project.SetModified(false);
    ui.Answer(MsgResult::OK);
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(StartRun(project, host));
    ExpectLastBox(
        "ﾃﾞｰﾀの更新処理に失敗しました\r\nﾌｧｲﾙ不整合であるか、読取専用の環境で実行しています");
    EXPECT_EQ(host.calls, (Texts{"settings", "open", "close"}));
    EXPECT_TRUE(project.Modified());
    EXPECT_EQ(project.FilePath(), folder.File("missing/project.mtb"));
    project.SetFilePath("");
    const std::string scratch = ScratchFolder();
    fs::remove_all(scratch);
    ui.Answer(MsgResult::OK);
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(StartRun(project, host));
    EXPECT_TRUE(project.FilePath().empty());
    fs::create_directory(scratch);
}

}  // namespace
}  // namespace zv
