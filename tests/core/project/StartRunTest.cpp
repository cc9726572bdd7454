#include "core/project/AfterRunConfirmation.h"
#include "core/project/SaveProject.h"
#include "core/project/StartRun.h"
#include "core/strings/StringIds.h"
#include "tests/core/project/DocumentTest.h"

namespace zv {
namespace {

using namespace test;
using Media = std::vector<int32_t>;

Media MediaOf(const ProjectDocument& project) {
    Media media;
    for (const ItemRecord& item : project.Items())
        media.push_back(item.Medium);
    return media;
}

class StartRunTest : public DocumentTest {
  protected:
    StartRunTest() { Add(project, {MakeFile("a", 400), MakeFile("b", 300), MakeFile("c", 200)}); }
    ~StartRunTest() override { App().running = false; }

    ProjectDocument project;
};

// A run takes the window's items and settings; the saved project's after-run
// action counts as confirmed for its file from now on, an untitled one's for
// none. A second run at the same time is refused.
TEST_F(StartRunTest, PrepareTakesTheItemsAndConfirmsTheActionOfTheSavedFile) {
    RunSettings settings = project.GetRunSettings();
    settings.MediaSize = "700";
    settings.AfterRun = 1;
    settings.AfterPath = folder.File("media");
    project.SetRunSettings(settings);
    const PreparedRun untitled = PrepareRun(project);
    EXPECT_FALSE(untitled.refusal.has_value());
    ASSERT_EQ(untitled.items.size(), 3u);
    EXPECT_EQ(untitled.items[1].name, folder.File("b"));
    EXPECT_EQ(untitled.settings.MediaSize, "700");

    project.SetFilePath(folder.File("project.mtb"));
    EXPECT_FALSE(AfterRunConfirmation(project.FilePath(), settings).Confirmed());
    static_cast<void>(PrepareRun(project));
    EXPECT_TRUE(AfterRunConfirmation(project.FilePath(), settings).Confirmed());
    EXPECT_FALSE(std::filesystem::exists(project.FilePath())) << "no file is written";

    App().running = true;
    EXPECT_EQ(PrepareRun(project).refusal, text_id::AlreadyRunning);
}

// A completed run's plan goes into the items, which are then modified; a
// stopped or failed one leaves them as they were and says why, in the run's
// own words where it has them.
TEST_F(StartRunTest, FinishTakesACompletedPlanAndSaysHowEveryRunEnded) {
    const std::string completed = "実行は完了しました";
    const std::string stopped = "実行を中止しました\r\n振り分けの結果はありません";
    const std::string failed = "実行は失敗しました";
    const RunMessage cause{text_id::RunFailed, failed + "\r\ndisk full"};
    struct Case {
        RunEnd end;
        std::optional<RunMessage> message;
        Texts shown;
        bool planned;
    } const cases[] = {
        {RunEnd::Completed, std::nullopt, {completed}, true},
        {RunEnd::Completed, RunMessage{1, "too few"}, {"too few", completed}, true},
        {RunEnd::Stopped, std::nullopt, {stopped}, false},
        {RunEnd::Failed, std::nullopt, {failed}, false},
        {RunEnd::Failed, cause, {cause.text}, false},
    };
    for (const Case& c : cases) {
        ProjectDocument document = project;
        document.SetModified(false);
        const FinishedRun finished =
            FinishRun(document, PlanRunResult{c.end, {2, 1, 0}, c.message, {}});
        EXPECT_EQ(finished.messages, c.shown);
        EXPECT_EQ(finished.planned, c.planned);
        const Media media = c.planned ? Media{2, 1, 0} : Media{0, 0, 0};
        EXPECT_EQ(MediaOf(document), media);
        EXPECT_EQ(document.Modified(), c.planned);
    }
}

}  // namespace
}  // namespace zv
