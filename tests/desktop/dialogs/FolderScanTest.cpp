#include <gtest/gtest.h>

#include <QStringList>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "desktop/dialogs/FileFilter.h"
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

    // Walks to the end; the gathered files as paths below the root, in the
    // order found.
    std::vector<std::string> Found(FolderScan& scan) const {
        while (scan.WalkNext()) {
        }
        std::vector<std::string> found;
        for (std::size_t i = 0; i < scan.Files().files.size(); ++i)
            found.push_back(fs::path(scan.Files().Path(i)).lexically_relative(Root()).string());
        return found;
    }
    std::set<std::string> FoundAll(FolderScan& scan) const {
        const std::vector<std::string> found = Found(scan);
        return {found.begin(), found.end()};
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
    EXPECT_EQ(FoundAll(flat), (std::set<std::string>{"top.txt", ".hidden", "link.txt"}));
    EXPECT_EQ(flat.Walked(), 1u);

    FolderScan deep(Root(), true);
    EXPECT_EQ(FoundAll(deep), (std::set<std::string>{"top.txt", ".hidden", "link.txt", "A/a.txt",
                                                     "A/AA/deep.txt", ".cache/c.txt"}));
    EXPECT_EQ(deep.Bytes(), 1 + 2 + 4 + 4 + 8 + 16);
    EXPECT_EQ(Found(deep).back(), "A/AA/deep.txt");
    // Root, A, .cache, A/AA and both system folders, but nothing below them.
    EXPECT_EQ(deep.Queued(), 6u);
}

TEST(ScaledProgressTest, StaysWithinTheBarsRangeWhateverTheTotal) {
    EXPECT_EQ(ScaledProgress(50, 100), 16383);
    EXPECT_EQ(ScaledProgress(1, 4), 8191) << "8191.5 is cut, not rounded";
    // Files that grew since the total was taken never push the bar past its end.
    EXPECT_EQ(ScaledProgress(250, 100), 32766);
    // A drive of several terabytes, a sixth of it found.
    EXPECT_EQ(ScaledProgress(1e12, 6e12), 5461);
    EXPECT_EQ(ScaledProgress(10, 0), 0);
}

// The names among `names` the filter keeps.
QStringList Kept(const QString& filter, const QStringList& names) {
    const FileFilter terms(filter);
    QStringList kept;
    for (const QString& name : names) {
        if (terms.Keeps(name))
            kept.append(name);
    }
    return kept;
}

TEST(FileFilterTest, TermsMustOccurOrMustNotInAnyLetterCase) {
    const QStringList names = {"ABC.txt", "abc.tmp", "notes.txt", "xabcx.TMP.bak"};
    const std::pair<QString, QStringList> cases[] = {
        {"+TXT", {"ABC.txt", "notes.txt"}},
        {"-abc", {"notes.txt"}},
        // An empty term occurs in every name; two blanks in a row leave one.
        {"+", names},
        {"-", {}},
        {"abc  -tmp", {"ABC.txt"}},
    };
    for (const auto& [filter, kept] : cases)
        EXPECT_EQ(Kept(filter, names), kept) << filter.toStdString();
    // The ideographic space separates terms like a blank.
    EXPECT_EQ(Kept(QStringLiteral("写真\u3000-ｺﾋﾟｰ"),
                   {QStringLiteral("写真1.jpg"), QStringLiteral("写真1 - ｺﾋﾟｰ.jpg")}),
              QStringList{QStringLiteral("写真1.jpg")});
}

}  // namespace
}  // namespace zv
