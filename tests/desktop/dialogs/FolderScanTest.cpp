#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "desktop/dialogs/FolderScan.h"
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

    // Walks to the end; the gathered files as paths below the root, the one
    // found last marked so.
    std::set<std::string> Found(FolderScan& scan) const {
        while (scan.WalkNext()) {
        }
        std::set<std::string> found;
        for (std::size_t i = scan.Files().files.size(); i-- > 0;)
            found.insert((found.empty() ? "last " : "") +
                         fs::path(scan.Files().Path(i)).lexically_relative(Root()).string());
        return found;
    }

    test::TempFolder folder_;
};

TEST_F(FolderScanTest, WalksBreadthFirstPastSystemFoldersAndLinksUpTheTree) {
    Make("top.txt", 1);
    Make(".hidden", 2);
    Make("A/a.txt", 4);
    Make("A/AA/deep.txt", 8);
    Make(".cache/c.txt", 16);
    Make("System Volume Information/index.dat", 64);
    Make("System Volume Information/Sub/restore.dat", 128);
    Make("A/System Volume Information/x.dat", 256);
    // A linked folder would make the walk endless; a linked file is a file.
    fs::create_directory_symlink(Root(), fs::path(Root()) / "A" / "up");
    fs::create_symlink(fs::path(Root()) / "A" / "a.txt", fs::path(Root()) / "link.txt");

    FolderScan flat(Root(), false);
    EXPECT_EQ(Found(flat).size(), 3u) << "top.txt, .hidden and link.txt";
    EXPECT_EQ(flat.Walked(), 1u);

    FolderScan deep(Root(), true);
    EXPECT_EQ(Found(deep), (std::set<std::string>{"top.txt", ".hidden", "link.txt", "A/a.txt",
                                                  "last A/AA/deep.txt", ".cache/c.txt"}));
    EXPECT_EQ(deep.Bytes(), 1 + 2 + 4 + 4 + 8 + 16);
    // Root, A, .cache, A/AA and both system folders, but nothing below them.
    EXPECT_EQ(deep.Queued(), 6u);
}

}  // namespace
}  // namespace zv
