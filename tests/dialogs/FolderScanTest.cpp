#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "dialogs/FolderScan.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

class FolderScanTest : public ::testing::Test {
  protected:
    std::string Root() const { return folder_.File("root"); }

    // A file below the root, with its folders.
    void Make(const std::string& relative, std::size_t bytes) {
        const fs::path path = fs::path(Root()) / relative;
        fs::create_directories(path.parent_path());
        test::WriteBytes(path.string(), std::string(bytes, 'x'));
    }

    // The gathered files as paths below the root, in the order found.
    std::vector<std::string> Found(const GatheredFiles& files) const {
        std::vector<std::string> found;
        for (std::size_t i = 0; i < files.files.size(); ++i)
            found.push_back(fs::path(files.Path(i)).lexically_relative(Root()).string());
        return found;
    }

    static std::set<std::string> AsSet(const std::vector<std::string>& list) {
        return {list.begin(), list.end()};
    }

    test::TempFolder folder_;
};

TEST_F(FolderScanTest, WalksBreadthFirstAndPassesOverSystemVolumeInformation) {
    Make("top.txt", 1);
    Make(".hidden", 2);
    Make("A/a.txt", 4);
    Make("A/AA/deep.txt", 8);
    Make("B/b.txt", 16);
    Make(".cache/c.txt", 32);
    Make("System Volume Information/index.dat", 64);
    Make("System Volume Information/Sub/restore.dat", 128);
    Make("A/System Volume Information/x.dat", 256);

    FolderScan flat(Root(), false);
    while (flat.WalkNext()) {
    }
    EXPECT_EQ(AsSet(Found(flat.Files())), (std::set<std::string>{"top.txt", ".hidden"}));
    EXPECT_EQ(flat.Walked(), 1u);

    FolderScan deep(Root(), true);
    while (deep.WalkNext()) {
    }
    const std::vector<std::string> found = Found(deep.Files());
    EXPECT_EQ(AsSet(found), (std::set<std::string>{"top.txt", ".hidden", "A/a.txt", "A/AA/deep.txt",
                                                   "B/b.txt", ".cache/c.txt"}));
    EXPECT_EQ(deep.Bytes(), 1 + 2 + 4 + 8 + 16 + 32);
    // The root's files first, the deepest file last.
    EXPECT_EQ(AsSet({found[0], found[1]}), (std::set<std::string>{"top.txt", ".hidden"}));
    EXPECT_EQ(found.back(), "A/AA/deep.txt");
    // Both "System Volume Information" folders were queued but gave nothing,
    // not even their subfolder.
    EXPECT_EQ(deep.Queued(), 7u);
}

TEST_F(FolderScanTest, StoppingKeepsTheFilesOfTheFoldersWalkedSoFar) {
    // A chain of folders, each with one file: the walk's order is certain.
    Make("f0.txt", 1);
    Make("1/f1.txt", 1);
    Make("1/2/f2.txt", 1);
    Make("1/2/3/f3.txt", 1);
    FolderScan scan(Root(), true);
    ASSERT_TRUE(scan.WalkNext());
    ASSERT_TRUE(scan.WalkNext());
    EXPECT_EQ(Found(scan.Files()), (std::vector<std::string>{"f0.txt", "1/f1.txt"}));
    EXPECT_EQ(scan.Walked(), 2u);
    EXPECT_EQ(scan.Queued(), 3u);
}

TEST_F(FolderScanTest, ALinkBackUpTheTreeIsNotFollowed) {
    Make("A/a.txt", 3);
    fs::create_directory_symlink(Root(), fs::path(Root()) / "A" / "up");
    fs::create_symlink(fs::path(Root()) / "A" / "a.txt", fs::path(Root()) / "link.txt");
    FolderScan scan(Root(), true);
    while (scan.WalkNext()) {
    }
    EXPECT_EQ(AsSet(Found(scan.Files())), (std::set<std::string>{"A/a.txt", "link.txt"}));
    EXPECT_EQ(scan.Queued(), 2u);
}

TEST(ScaledProgressTest, StaysWithinTheBarsRangeWhateverTheTotal) {
    EXPECT_EQ(ScaledProgress(0, 100), 0);
    EXPECT_EQ(ScaledProgress(50, 100), 16383);
    EXPECT_EQ(ScaledProgress(100, 100), 32766);
    // Files that grew since the total was taken never push the bar past its end.
    EXPECT_EQ(ScaledProgress(250, 100), 32766);
    // A drive of several terabytes, a sixth of it found.
    EXPECT_EQ(ScaledProgress(1e12, 6e12), 5461);
    EXPECT_EQ(ScaledProgress(10, 0), 0);
}

}  // namespace
}  // namespace zv
