#include <gtest/gtest.h>

#include <filesystem>

#include "core/project/ExportRequest.h"
#include "tests/core/project/DocumentTest.h"

namespace zv {
namespace {

namespace fs = std::filesystem;
using test::ExpectBox;
using test::ReadBytes;
using test::WriteBytes;

// Records what an export shows while it writes; cancels at the first report
// when told to.
class RecordingWatcher : public ExportWatcher {
  public:
    RecordingWatcher(const ScriptedUi& ui, bool cancel) : ui_(ui), cancel_(cancel) {}

    void Progress(const std::string& output, double done) override {
        EXPECT_GE(done, last_);
        last_ = done;
        outputs.push_back(output);
    }
    bool KeepGoing() override { return !cancel_; }
    void Ended() override { boxesAtEnd.push_back(ui_.Boxes().size()); }

    std::vector<std::string> outputs;
    std::vector<std::size_t> boxesAtEnd;

  private:
    const ScriptedUi& ui_;
    bool cancel_;
    double last_ = 0;
};

// A saved project "写真" of seven files placed on media 1 to 6 and 12.
class ExportRequestTest : public test::DocumentTest {
  protected:
    ExportRequestTest() {
        std::vector<FileRef> files;
        for (int i = 1; i <= 7; ++i)
            files.push_back(MakeFile("f" + std::to_string(i), 10));
        Add(project, files);
        for (int i = 0; i < 7; ++i)
            project.Items()[i].Medium = static_cast<int16_t>(i < 6 ? i + 1 : 12);
        project.SetFilePath(folder.File("写真.mtb"));
    }

    ProjectDocument project;
    std::string out = folder.File("out");
};

TEST_F(ExportRequestTest, AnExistingOutputIsReplacedOnlyWhenTheUserAgrees) {
    const ExportRequest request{ExportFormat::Lists, out};
    RecordingWatcher watcher(ui, false);
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ExportResults(project, request, &watcher), ExportOutcome::Written);
    ExpectBox(ui.Boxes().back(),
              "次のﾌｫﾙﾀﾞに書き出しました\r\n" + out +
                  "\r\n写真_01.pathlist\r\n写真_02.pathlist\r\n写真_03.pathlist\r\n"
                  "写真_04.pathlist\r\n写真_05.pathlist\r\nほか2個\r\n",
              "書き出し", MsgButtons::OK, MsgIcon::Information);
    EXPECT_TRUE(fs::exists(out + "/写真_12.pathlist"));
    EXPECT_EQ(watcher.outputs.back(), "写真_12.pathlist");
    EXPECT_EQ(watcher.boxesAtEnd, std::vector<std::size_t>{0}) << "gone before the box";

    const std::string first = out + "/写真_01.pathlist";
    WriteBytes(first, "mine");
    ui.Answer(MsgResult::No);
    EXPECT_EQ(ExportResults(project, request), ExportOutcome::Declined);
    ExpectBox(ui.Boxes().back(),
              "次のﾌｧｲﾙまたはﾌｫﾙﾀﾞは既に存在します\r\n写真_01.pathlist\r\n"
              "書き出し先の同じ名前のものをすべて上書きしますか？",
              "書き出し", MsgButtons::YesNo, MsgIcon::Exclamation, 1);
    EXPECT_EQ(ReadBytes(first), "mine");

    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ExportResults(project, request), ExportOutcome::Written);
    EXPECT_NE(ReadBytes(first), "mine");
    EXPECT_EQ(ui.Boxes().size(), 4u);
}

TEST_F(ExportRequestTest, AFailureIsShownACancelIsNotAndNeitherWritesAnything) {
    RecordingWatcher cancelling(ui, true);
    EXPECT_EQ(ExportResults(project, {ExportFormat::Links, out}, &cancelling),
              ExportOutcome::Cancelled);
    EXPECT_EQ(cancelling.boxesAtEnd, std::vector<std::size_t>{0});

    fs::remove(folder.File("f3"));
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ExportResults(project, {ExportFormat::Links, out}), ExportOutcome::Failed);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    const MessageBoxRequest& box = ui.Boxes().back();
    EXPECT_EQ(box.text.rfind("書き出しに失敗しました\r\n", 0), 0u) << box.text;
    EXPECT_NE(box.text.find(folder.File("f3")), std::string::npos) << box.text;
    EXPECT_EQ(box.icon, MsgIcon::Critical);
    EXPECT_FALSE(fs::exists(out) && !fs::is_empty(out));
}

TEST_F(ExportRequestTest, OutputsAreNamedAfterTheProjectFileOrTheCaption) {
    EXPECT_EQ(ExportProjectName(project), "写真");
    project.SetFilePath("");
    project.SetCaption("無題3");
    EXPECT_EQ(ExportProjectName(project), "無題3");
    for (const auto& [path, accepted] :
         {std::pair{"/media/burn", true}, {"", false}, {"burn", false}})
        EXPECT_EQ(ExportFolderAccepted(path), accepted) << path;
}

}  // namespace
}  // namespace zv
