#include <filesystem>
#include <functional>

#include "db/AccessDB.h"
#include "document/ProjectFile.h"
#include "document/RunResults.h"
#include "document/SaveProject.h"
#include "document/StartRun.h"
#include "engine/RunDisplay.h"
#include "shell/ProgramPaths.h"
#include "tests/document/DocumentTest.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

using Calls = std::vector<std::string>;
using Media = std::vector<int16_t>;

// The desktop's part of a run as a script: the settings dialog applies the
// given settings or is cancelled, the run dialog records what the run shows
// and does what the test asks at a status line.
class ScriptedHost : public RunHost, public RunObserver {
  public:
    explicit ScriptedHost(ProjectDocument& project) : project_(project) {}

    bool ConfirmRunSettings() override {
        calls.push_back("settings");
        if (!apply)
            return false;
        project_.SetRunSettings(*apply);
        return true;
    }
    void OpenRunDialog() override { calls.push_back("open"); }
    RunObserver& Observer() override { return *this; }
    RunRequests& Requests() override { return requests; }
    void CloseRunDialog() override { calls.push_back("close"); }
    void RunStateChanged() override { calls.push_back(App().running ? "running" : "idle"); }
    void ShowResults() override { calls.push_back("results"); }

    void StatusChanged(const std::string& text) override {
        statuses.push_back(text);
        if (onStatus)
            onStatus(text);
    }
    void ProgressChanged(int, const ProgressBarState&) override {}
    void Yield() override {}
    void PauseWait() override {}
    void Message(int, const std::string& text) override { ShowMessage(text); }
    void MediumChosen(const MediumReport&) override {}

    std::optional<RunSettings> apply;
    std::function<void(const std::string&)> onStatus;
    RunRequests requests;
    Calls calls;
    std::vector<std::string> statuses;

  private:
    ProjectDocument& project_;
};

RunSettings Settings(const std::string& mediaSize) {
    RunSettings settings;
    settings.MediaSize = mediaSize;
    settings.MediaNum = 32766;
    settings.MaxFile = 32766;
    return settings;
}

Media MediaOf(const ProjectDocument& project) {
    Media media;
    for (const ItemRecord& item : project.Items())
        media.push_back(item.Medium);
    return media;
}

Media MediaInFile(const std::string& path) {
    const std::optional<ProjectData> project = ProjectFile::Read(path, RunSettings());
    Media media;
    for (const ProjectItem& item : project.value().items)
        media.push_back(item.medium);
    return media;
}

std::vector<std::string> Texts(const ScriptedUi& ui) {
    std::vector<std::string> texts;
    for (const MessageBoxRequest& box : ui.Boxes())
        texts.push_back(box.text);
    return texts;
}

const char* const kCompleted = "実行は完了しました";
const char* const kFailed = "実行は失敗しました";
const char* const kAlreadyRunning =
    "既に他で実行が開始されています\r\n複数を同時に実行することは出来ません";

class StartRunTest : public test::DocumentTest {
  protected:
    ~StartRunTest() override {
        App().running = false;
        App().runRequests = nullptr;
    }

    // Four files that fill two media of 700 bytes: a and d, then b and c.
    void AddFourFiles(ProjectDocument& project) {
        Add(project,
            {MakeFile("a", 400), MakeFile("b", 300), MakeFile("c", 300), MakeFile("d", 200)});
    }

    void SaveAs(ProjectDocument& project, const std::string& name) {
        project.SetFilePath(folder.File(name));
        ASSERT_TRUE(SaveProject(project, kSaveToPath, false));
    }

    // After every start the program is idle again.
    void ExpectIdle() {
        EXPECT_FALSE(App().running);
        EXPECT_EQ(App().runRequests, nullptr);
    }
};

TEST_F(StartRunTest, CancelledSettingsChangeNothingAndSaveNothing) {
    ProjectDocument untitled;
    AddFourFiles(untitled);
    ScriptedHost cancelling(untitled);
    EXPECT_FALSE(StartRun(untitled, cancelling));
    EXPECT_EQ(cancelling.calls, Calls{"settings"});
    EXPECT_TRUE(untitled.Modified());
    EXPECT_TRUE(untitled.FilePath().empty());
    EXPECT_FALSE(fs::exists(untitled.TemporaryProjectPath()));

    ProjectDocument saved;
    AddFourFiles(saved);
    saved.Items()[0].Medium = 1;
    SaveAs(saved, "saved.mtb");
    const std::string before = test::ReadBytes(saved.FilePath());
    ScriptedHost cancelled(saved);
    EXPECT_FALSE(StartRun(saved, cancelled));
    EXPECT_FALSE(saved.Modified());
    EXPECT_EQ(MediaOf(saved), (Media{1, 0, 0, 0}));
    EXPECT_EQ(test::ReadBytes(saved.FilePath()), before);
    EXPECT_TRUE(ui.Boxes().empty());
    ExpectIdle();
}

TEST_F(StartRunTest, ASecondStartIsRefusedAndLeavesTheRunInProgressAlone) {
    ProjectDocument first;
    AddFourFiles(first);
    ProjectDocument second;
    Add(second, {MakeFile("e", 100), MakeFile("f", 100)});
    ScriptedHost host(first);
    host.apply = Settings("700");
    ScriptedHost secondHost(second);
    secondHost.apply = Settings("700");
    host.onStatus = [&](const std::string& status) {
        if (status != RunDisplay::MediumStatusText(1) || !secondHost.calls.empty())
            return;
        ui.Answer(MsgResult::OK);
        EXPECT_FALSE(StartRun(second, secondHost));
        // The refused start neither asked for settings nor touched the run's
        // flag, requests or dialog.
        EXPECT_TRUE(App().running);
        EXPECT_EQ(App().runRequests, &host.requests);
        secondHost.calls.push_back("refused");
    };
    ui.Answer(MsgResult::OK);

    EXPECT_TRUE(StartRun(first, host));
    EXPECT_EQ(secondHost.calls, Calls{"refused"});
    EXPECT_EQ(Texts(ui), (std::vector<std::string>{kAlreadyRunning, kCompleted}));
    EXPECT_EQ(MediaOf(first), (Media{1, 2, 2, 1}));
    EXPECT_EQ(MediaOf(second), (Media{0, 0}));
    ExpectIdle();
}

TEST_F(StartRunTest, AnUnresolvableMediaSizeStartsNothing) {
    ProjectDocument project;
    AddFourFiles(project);
    SaveAs(project, "project.mtb");
    ScriptedHost host(project);
    host.apply = Settings("ＤＶＤ");
    ui.Answer(MsgResult::OK);

    EXPECT_FALSE(StartRun(project, host));
    EXPECT_EQ(ui.OnlyBoxText(), "ｻｲｽﾞﾃﾞｰﾀの取得に失敗しました");
    EXPECT_EQ(host.calls, (Calls{"settings", "open", "close"}));
    EXPECT_TRUE(host.statuses.empty());
    // The settings were applied and the project saved with them.
    EXPECT_EQ(ProjectFile::Read(project.FilePath(), RunSettings())->settings.MediaSize, "ＤＶＤ");
    EXPECT_FALSE(project.Modified());
    ExpectIdle();
}

TEST_F(StartRunTest, AnUntitledProjectRunsInATemporaryFileThatGoesAfterSuccess) {
    ProjectDocument project;
    AddFourFiles(project);
    const std::string caption = project.Caption();
    const std::string temporary = folder.File(project.DocumentId() + ".mtb");
    ScriptedHost host(project);
    host.apply = Settings("700");
    bool sawFile = false;
    host.onStatus = [&](const std::string&) {
        sawFile = sawFile || (fs::exists(temporary) && project.FilePath() == temporary &&
                              project.Caption() == caption);
        EXPECT_TRUE(App().running);
        EXPECT_EQ(App().runRequests, &host.requests);
    };
    ui.Answer(MsgResult::OK);

    EXPECT_TRUE(StartRun(project, host));
    EXPECT_TRUE(sawFile);
    EXPECT_EQ(ui.OnlyBoxText(), kCompleted);
    EXPECT_EQ(host.calls, (Calls{"settings", "open", "running", "results", "close", "idle"}));
    EXPECT_EQ(MediaOf(project), (Media{1, 2, 2, 1}));
    EXPECT_FALSE(fs::exists(temporary));
    EXPECT_TRUE(project.FilePath().empty());
    EXPECT_EQ(project.Caption(), caption);
    EXPECT_TRUE(project.Modified());
    ExpectIdle();
}

TEST_F(StartRunTest, AFailedRunOfAnUntitledProjectKeepsItsTemporaryFile) {
    ProjectDocument project;
    AddFourFiles(project);
    project.SetModified(false);
    ScriptedHost host(project);
    host.apply = Settings("700");
    host.onStatus = [&](const std::string&) { host.requests.abort = true; };
    ui.Answer(MsgResult::OK);

    EXPECT_FALSE(StartRun(project, host));
    EXPECT_EQ(ui.OnlyBoxText(), kFailed);
    EXPECT_EQ(project.FilePath(), project.TemporaryProjectPath());
    EXPECT_TRUE(fs::exists(project.TemporaryProjectPath()));
    EXPECT_EQ(MediaInFile(project.FilePath()), (Media{0, 0, 0, 0}));
    EXPECT_FALSE(project.Modified());
    ExpectIdle();
}

TEST_F(StartRunTest, AnAbortLeavesEveryMediumAtZeroAndTheFileAsSaved) {
    // Six files: the second medium is searched too.
    ProjectDocument project;
    AddFourFiles(project);
    Add(project, {MakeFile("e", 350), MakeFile("f", 350)});
    SaveAs(project, "project.mtb");
    ScriptedHost earlier(project);
    earlier.apply = Settings("700");
    ui.Answer(MsgResult::OK);
    ASSERT_TRUE(StartRun(project, earlier));
    ASSERT_TRUE(SaveProject(project, kSaveToPath, false));
    ASSERT_EQ(MediaInFile(project.FilePath()), MediaOf(project));

    ScriptedHost host(project);
    host.apply = Settings("700");
    std::string asSaved;
    host.onStatus = [&](const std::string& status) {
        if (asSaved.empty())
            asSaved = test::ReadBytes(project.FilePath());
        if (status == RunDisplay::MediumStatusText(2))
            host.requests.abort = true;
    };
    ui.Answer(MsgResult::OK);

    EXPECT_FALSE(StartRun(project, host));
    EXPECT_EQ(ui.Boxes().back().text, kFailed);
    EXPECT_EQ(MediaOf(project), Media(6, 0));
    EXPECT_EQ(test::ReadBytes(project.FilePath()), asSaved);
    EXPECT_EQ(MediaInFile(project.FilePath()), Media(6, 0));
    EXPECT_FALSE(project.Modified());
    EXPECT_FALSE(fs::exists(project.FilePath() + ".TMP"));
    ExpectIdle();
}

TEST_F(StartRunTest, ASuccessfulRunLeavesItsResultsInTheProjectFile) {
    ProjectDocument project;
    AddFourFiles(project);
    SaveAs(project, "project.mtb");
    ScriptedHost host(project);
    host.apply = Settings("700");
    ui.Answer(MsgResult::OK);

    EXPECT_TRUE(StartRun(project, host));
    EXPECT_EQ(project.FilePath(), folder.File("project.mtb"));
    EXPECT_EQ(project.Caption(), "project");
    EXPECT_TRUE(project.Modified());
    Media media(4, 0);
    ASSERT_TRUE(ReadRunResults(project.FilePath(), media));
    EXPECT_EQ(media, (Media{1, 2, 2, 1}));
    EXPECT_EQ(MediaOf(project), media);
}

TEST_F(StartRunTest, AFailedSaveStopsTheRunAndKeepsTheProjectModified) {
    ProjectDocument titled;
    AddFourFiles(titled);
    titled.SetFilePath(folder.File("missing/project.mtb"));
    titled.SetModified(false);
    ScriptedHost host(titled);
    host.apply = Settings("700");
    ui.Answer(MsgResult::OK);
    ui.Answer(MsgResult::OK);

    EXPECT_FALSE(StartRun(titled, host));
    ASSERT_EQ(ui.Boxes().size(), 2u);
    test::ExpectBox(ui.Boxes()[0], "ﾃﾞｰﾀの更新に失敗しました", "ｴﾗｰ", MsgButtons::OK,
                    MsgIcon::Critical);
    test::ExpectBox(
        ui.Boxes()[1],
        "ﾃﾞｰﾀの更新処理に失敗しました\r\nﾌｧｲﾙ不整合であるか、読取専用の環境で実行しています",
        AppTitle());
    EXPECT_EQ(host.calls, (Calls{"settings", "open", "close"}));
    // The applied settings are in no file.
    EXPECT_TRUE(titled.Modified());
    EXPECT_EQ(titled.FilePath(), folder.File("missing/project.mtb"));

    // An untitled project got no temporary file to point at.
    ProjectDocument untitled;
    AddFourFiles(untitled);
    SetProgramFolder(folder.File("missing"));
    ScriptedHost untitledHost(untitled);
    untitledHost.apply = Settings("700");
    ui.Answer(MsgResult::OK);
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(StartRun(untitled, untitledHost));
    EXPECT_TRUE(untitled.FilePath().empty());
    EXPECT_TRUE(untitled.Modified());
    ExpectIdle();
}

TEST_F(StartRunTest, ResultsThatCannotBeReadAreReported) {
    ProjectDocument project;
    AddFourFiles(project);
    SaveAs(project, "project.mtb");
    ScriptedHost host(project);
    host.apply = Settings("700");
    // The work database is spoilt before the first medium is loaded; the run
    // ends there, normally, and leaves a file that does not open.
    host.onStatus = [&](const std::string& status) {
        if (status == RunDisplay::MediumStatusText(1))
            test::WriteBytes(project.FilePath() + ".TMP", "no database");
    };
    ui.Answer(MsgResult::OK);
    ui.Answer(MsgResult::OK);

    EXPECT_FALSE(StartRun(project, host));
    ASSERT_EQ(ui.Boxes().size(), 2u);
    EXPECT_EQ(ui.Boxes()[1].text, "ﾃﾞｰﾀの取得に失敗しました  ");
    EXPECT_EQ(ui.Boxes()[1].title, AppTitle());
    EXPECT_EQ(MediaOf(project), (Media{0, 0, 0, 0}));
    EXPECT_FALSE(project.Modified());
    ExpectIdle();
}

TEST_F(StartRunTest, AnItemNumberBeyondTheItemsIsReportedAndTheMediaReadBeforeItStay) {
    ProjectDocument project;
    AddFourFiles(project);
    SaveAs(project, "project.mtb");
    ScriptedHost host(project);
    host.apply = Settings("700");
    // Medium 1 is recorded when medium 2 begins; a row is slipped in after
    // its own.
    host.onStatus = [&](const std::string& status) {
        if (status != RunDisplay::MediumStatusText(2))
            return;
        AccessDB work;
        work.SetPath(project.FilePath() + ".TMP");
        ASSERT_TRUE(work.DBOpen(""));
        work.Run("INSERT INTO [DISC_1_ID] VALUES(99, 0)", adOpenDynamic);
    };
    ui.Answer(MsgResult::OK);

    EXPECT_FALSE(StartRun(project, host));
    test::ExpectBox(ui.Boxes().at(0), "インデックスが有効範囲にありません。",
                    ExeBaseName() + "ｴﾗｰ 9");
    EXPECT_EQ(MediaOf(project), (Media{1, 0, 0, 1}));
    EXPECT_FALSE(project.Modified());
    ExpectIdle();
}

}  // namespace
}  // namespace zv
