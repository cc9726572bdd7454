#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/project/ProjectDocument.h"
#include "desktop/dialogs/AddCheckedFiles.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

using Texts = std::vector<std::string>;

// A project holding the group "Photos" (p1, p2) and the single file s, and
// the files a to h waiting to be added.
class AddCheckedFilesTest : public ::testing::Test {
  protected:
    AddCheckedFilesTest() {
        EXPECT_TRUE(project_.AddFiles({File("p1"), File("p2")}, "Photos"));
        EXPECT_TRUE(project_.AddFiles({File("s")}, ""));
        project_.SetOpenGroup("");
        project_.SetModified(false);
        for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h"})
            File(name);
    }

    FileRef File(const std::string& name) {
        test::WriteBytes(folder_.File(name), name);
        return FileRef::Get(folder_.File(name));
    }

    // Adds the files; the asker answers `groupName` and counts its calls. The
    // outcome as text: "added", "redraw" and the group the list opens.
    std::string Add(const Texts& names, const std::string& groupName = "") {
        Texts paths;
        for (const std::string& name : names)
            paths.push_back(folder_.File(name));
        const AddOutcome outcome = AddCheckedFiles(
            paths, project_, [this, groupName](const std::vector<ItemRecord>& items) {
                ++asked_;
                EXPECT_EQ(items.size(), project_.Items().size());
                return groupName;
            });
        return std::string(outcome.added ? "added " : "") + (outcome.redraw ? "redraw " : "") +
               outcome.openGroup;
    }

    // Each item's name, a group's members after a colon.
    Texts Listing() const {
        Texts listing;
        for (const ItemRecord& item : project_.Items()) {
            std::string text = std::filesystem::path(item.Name).filename().string();
            if (item.IsGroup()) {
                text = item.Name + ":";
                for (const FileRef& member : item.Files)
                    text += " " + member.Name();
            }
            listing.push_back(text);
        }
        return listing;
    }

    test::TempFolder folder_;
    ScriptedUi ui_;
    ProjectDocument project_;
    int asked_ = 0;
};

// One file left (a file gone since the scan is passed over) becomes a single
// item without the group question; several become single items, a new group,
// or join the group of that name, and the list is drawn at the top level.
TEST_F(AddCheckedFilesTest, FilesBecomeSingleItemsANewGroupOrJoinAGroupOfThatName) {
    std::filesystem::remove(folder_.File("a"));
    EXPECT_EQ(Add({"a", "b"}, "never asked"), "added redraw ");
    EXPECT_EQ(asked_, 0);
    EXPECT_TRUE(project_.Modified());
    Add({"c", "d"});
    EXPECT_EQ(asked_, 1);
    Add({"g", "h"}, "Holiday");
    project_.SetOpenGroup("");
    EXPECT_EQ(Add({"e", "f"}, "PHOTOS"), "added redraw ");
    EXPECT_EQ(Listing(), (Texts{"Photos: p1 p2 e f", "s", "b", "c", "d", "Holiday: g h"}));
}

// Into the opened group the files go, when wanted, without the group question;
// the list goes on showing the group and the focus stays where it was.
TEST_F(AddCheckedFilesTest, TheOpenedGroupIsOfferedFirst) {
    project_.SetOpenGroup("Photos");
    ui_.Answer(MsgResult::Cancel);
    EXPECT_EQ(Add({"a", "b"}), "");
    test::ExpectBox(ui_.Boxes().at(0), "現在開いているｸﾞﾙｰﾌﾟにﾌｧｲﾙを追加しますか？",
                    "ｸﾞﾙｰﾌﾟｱｲﾃﾑの追加", MsgButtons::YesNoCancel);
    ui_.Answer(MsgResult::Yes);
    EXPECT_EQ(Add({"a", "b"}), "redraw Photos");
    EXPECT_EQ(asked_, 0);

    // No, and then no group either: the files still go into the opened group.
    ui_.Answer(MsgResult::No);
    EXPECT_EQ(Add({"c", "d"}), "added redraw ");
    EXPECT_EQ(asked_, 1);
    // No, and one file: a single item.
    ui_.Answer(MsgResult::No);
    Add({"e"});
    EXPECT_EQ(Listing(), (Texts{"Photos: p1 p2 a b c d", "s", "e"}));
}

TEST_F(AddCheckedFilesTest, NothingCheckedOrARefusalIsToldAndNothingIsAdded) {
    const std::string inList = "選んだﾌｧｲﾙはすべて既にﾘｽﾄにあるため、追加しませんでした";
    const struct {
        Texts names;
        std::string openGroup;
        std::vector<MsgResult> answers;
        std::string groupName;  // answered to the group question
        std::string message;
        std::string outcome;
    } cases[] = {
        {{}, "", {MsgResult::OK}, "", "ﾌｧｲﾙを選択してください", ""},
        // Files all in the list already are told as such, before any question.
        {{"s"}, "", {MsgResult::OK}, "", inList, ""},
        {{"p1", "p2"}, "Photos", {MsgResult::OK}, "", inList, ""},
        {{"p1", "s"}, "", {MsgResult::OK}, "Photos", inList, ""},
    };
    for (const auto& c : cases) {
        project_.SetOpenGroup(c.openGroup);
        for (const MsgResult answer : c.answers)
            ui_.Answer(answer);
        EXPECT_EQ(Add(c.names, c.groupName), c.outcome) << c.message;
        const MessageBoxRequest& box = ui_.Boxes().back();
        EXPECT_EQ(box.text, c.message);
        EXPECT_EQ(box.title, c.message == inList ? "ﾌｧｲﾙの追加" : "Zarvopack");
    }
    EXPECT_EQ(asked_, 0) << "files all in the list raise no question";
    EXPECT_EQ(Listing(), (Texts{"Photos: p1 p2", "s"}));
    EXPECT_FALSE(project_.Modified());
}

// Files partly in the list already: the others go in, and the user hears
// how many went in and why the rest did not.
TEST_F(AddCheckedFilesTest, FilesInTheListAlreadyAreCountedAndNamedAsTheReason) {
    ui_.Answer(MsgResult::OK);
    EXPECT_EQ(Add({"s", "a", "p2", "b"}), "added redraw ");
    EXPECT_EQ(Listing(), (Texts{"Photos: p1 p2", "s", "a", "b"}));
    test::ExpectBox(ui_.Boxes().at(0),
                    "2個のﾌｧｲﾙを追加しました\r\n2個のﾌｧｲﾙは既にﾘｽﾄにあるため追加しませんでした",
                    "ﾌｧｲﾙの追加", MsgButtons::OK, MsgIcon::Information);
    Add({"c"});
    EXPECT_EQ(ui_.Boxes().size(), 1u) << "nothing to say when every file went in";
}

}  // namespace
}  // namespace zv
