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

    // Adds the files; the asker answers `groupName` and counts its calls.
    AddOutcome Add(const Texts& names, const std::string& groupName = "") {
        Texts paths;
        for (const std::string& name : names)
            paths.push_back(folder_.File(name));
        return AddCheckedFiles(paths, project_,
                               [this, groupName](const std::vector<ItemRecord>& items) {
                                   ++asked_;
                                   EXPECT_EQ(items.size(), project_.Items().size());
                                   return groupName;
                               });
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
// or join the group of that name.
TEST_F(AddCheckedFilesTest, FilesBecomeSingleItemsANewGroupOrJoinAGroupOfThatName) {
    std::filesystem::remove(folder_.File("a"));
    AddOutcome outcome = Add({"a", "b"}, "never asked");
    EXPECT_EQ(asked_, 0);
    EXPECT_TRUE(outcome.added && outcome.redraw);
    EXPECT_TRUE(project_.Modified());
    EXPECT_TRUE(Add({"c", "d"}).added);
    EXPECT_EQ(asked_, 1);
    EXPECT_TRUE(Add({"g", "h"}, "Holiday").added);
    project_.SetOpenGroup("");
    outcome = Add({"e", "f"}, "PHOTOS");
    EXPECT_TRUE(outcome.added);
    EXPECT_EQ(outcome.openGroup, "") << "the list is drawn at the top level again";
    EXPECT_EQ(Listing(), (Texts{"Photos: p1 p2 e f", "s", "b", "c", "d", "Holiday: g h"}));
}

TEST_F(AddCheckedFilesTest, TheOpenedGroupIsOfferedFirst) {
    project_.SetOpenGroup("Photos");
    ui_.Answer(MsgResult::Cancel);
    AddOutcome outcome = Add({"a", "b"});
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    test::ExpectBox(ui_.Boxes()[0], "現在開いているｸﾞﾙｰﾌﾟにﾌｧｲﾙを追加しますか？",
                    "ｸﾞﾙｰﾌﾟｱｲﾃﾑの追加", MsgButtons::YesNoCancel);
    EXPECT_FALSE(outcome.redraw);
    EXPECT_EQ(Listing(), (Texts{"Photos: p1 p2", "s"}));

    ui_.Answer(MsgResult::Yes);
    outcome = Add({"a", "b"});
    EXPECT_EQ(asked_, 0);
    EXPECT_TRUE(outcome.redraw);
    EXPECT_EQ(outcome.openGroup, "Photos");
    EXPECT_FALSE(outcome.added) << "the focus stays where it was";
    EXPECT_EQ(Listing(), (Texts{"Photos: p1 p2 a b", "s"}));

    // No, and then no group either: the files still go into the opened group.
    ui_.Answer(MsgResult::No);
    outcome = Add({"c", "d"});
    EXPECT_EQ(asked_, 1);
    EXPECT_TRUE(outcome.added);
    EXPECT_EQ(outcome.openGroup, "");
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
        bool redraw;  // at the top level
    } cases[] = {
        {{}, "", {MsgResult::OK}, "", "ﾌｧｲﾙを選択してください", false},
        {{"s"}, "", {MsgResult::OK}, "", "ﾘｽﾄの追加に失敗しました", true},
        {{"p1", "p2"}, "Photos", {MsgResult::Yes, MsgResult::OK}, "", groupFailed, true},
        // Several files named into an existing group, all already there.
        {{"p1", "s"}, "", {MsgResult::OK}, "Photos", groupFailed, true},
    };
    for (const auto& c : cases) {
        project_.SetOpenGroup(c.openGroup);
        for (const MsgResult answer : c.answers)
            ui_.Answer(answer);
        const AddOutcome outcome = Add(c.names, c.groupName);
        test::ExpectBox(ui_.Boxes().back(), c.message, "Zarvopack");
        EXPECT_EQ(outcome.redraw, c.redraw) << c.message;
        EXPECT_EQ(outcome.openGroup, "");
        EXPECT_FALSE(outcome.added);
    }
    EXPECT_EQ(asked_, 1) << "only where several files were still to place";
    EXPECT_EQ(Listing(), (Texts{"Photos: p1 p2", "s"}));
    EXPECT_FALSE(project_.Modified());
}

}  // namespace
}  // namespace zv
