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
    const std::string groupFailed = "ｸﾞﾙｰﾌﾟｱｲﾃﾑの追加に失敗しました";
    const struct {
        Texts names;
        std::string openGroup;
        std::vector<MsgResult> answers;
        std::string groupName;  // answered to the group question
        std::string message;
        std::string outcome;
    } cases[] = {
        {{}, "", {MsgResult::OK}, "", "ﾌｧｲﾙを選択してください", ""},
        {{"s"}, "", {MsgResult::OK}, "", "ﾘｽﾄの追加に失敗しました", "redraw "},
        {{"p1", "p2"}, "Photos", {MsgResult::Yes, MsgResult::OK}, "", groupFailed, "redraw "},
        // Several files named into an existing group, all already there.
        {{"p1", "s"}, "", {MsgResult::OK}, "Photos", groupFailed, "redraw "},
    };
    for (const auto& c : cases) {
        project_.SetOpenGroup(c.openGroup);
        for (const MsgResult answer : c.answers)
            ui_.Answer(answer);
        EXPECT_EQ(Add(c.names, c.groupName), c.outcome) << c.message;
        test::ExpectBox(ui_.Boxes().back(), c.message, "Zarvopack");
    }
    EXPECT_EQ(asked_, 1) << "only where several files were still to place";
    EXPECT_EQ(Listing(), (Texts{"Photos: p1 p2", "s"}));
    EXPECT_FALSE(project_.Modified());
}

}  // namespace
}  // namespace zv
