#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include "core/platform/AtomicReplace.h"
#include "core/platform/FileError.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

std::size_t FilesIn(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(AtomicReplaceTest, TheNewFileKeepsTheOldOnesPermissionsAndReadOnlyFilesStay) {
    const struct {
        mode_t mode;
        bool replaced;
    } cases[] = {{0600, true}, {0640, true}, {0664, true}, {0444, false}, {0400, false}};
    for (const auto& c : cases) {
        test::TempFolder folder;
        const std::string target = folder.File("settings.dat");
        test::WriteBytes(target, "old");
        ASSERT_EQ(chmod(target.c_str(), c.mode), 0);

        const Status status = WriteFileAtomically(target, "new");
        EXPECT_EQ(status.ok(), c.replaced) << std::oct << c.mode;
        if (!c.replaced) {
            EXPECT_EQ(status.code(), FileError::ReadOnly);
            EXPECT_NE(status.message().find(target), std::string::npos) << status.message();
        }
        EXPECT_EQ(test::ReadBytes(target), c.replaced ? "new" : "old");
        EXPECT_EQ(ModeOf(target), c.mode);
        EXPECT_EQ(FilesIn(folder.Path()), 1u);
    }
}

// Whichever call fails, the file is the old one or, once the rename has
// happened, the whole new one, and nothing else is left in the folder.
TEST(AtomicReplaceTest, AFailingCallLeavesTheOldFileWhole) {
    for (const int error : test::kDiskErrors) {
        for (int failAt = 1;; ++failAt) {
            test::TempFolder folder;
            const std::string target = folder.File("settings.dat");
            test::WriteBytes(target, "old");
            test::FaultyFiles disk(failAt, error);
            const Status status = WriteFileAtomically(target, "new");
            if (!disk.Failed()) {
                EXPECT_TRUE(status.ok()) << status.message();
                EXPECT_EQ(test::ReadBytes(target), "new");
                break;
            }
            const std::string call = disk.FailedCall();
            EXPECT_FALSE(status.ok()) << call;
            const bool renamed = call == "fsync " + fs::path(folder.Path()).filename().string();
            // Once renamed, the failure says that the new file is in place.
            if (renamed)
                EXPECT_EQ(status.code(), FileError::NotSynced) << call;
            else
                EXPECT_EQ(status.code().value(), error) << call;
            EXPECT_NE(status.message().find(std::strerror(error)), std::string::npos)
                << status.message();
            EXPECT_EQ(test::ReadBytes(target), renamed ? "new" : "old") << call;
            EXPECT_EQ(FilesIn(folder.Path()), 1u) << call;
        }
    }
}

// A save through a symbolic link replaces the file at the end of the chain and
// leaves every link as it was; the temporary file lies beside that file.
TEST(AtomicReplaceTest, ASaveThroughLinksReplacesTheFileTheyLeadTo) {
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> links;  // link, what it holds
        const char* saved;                                       // what the save names
        const char* target;                                      // the file that changes
    } cases[] = {
        {"relative link", {{"here/p.mtb", "../there/p.mtb"}}, "here/p.mtb", "there/p.mtb"},
        {"chain",
         {{"here/p.mtb", "q.mtb"}, {"here/q.mtb", "../there/p.mtb"}},
         "here/p.mtb",
         "there/p.mtb"},
        {"to a missing file", {{"here/p.mtb", "../there/new.mtb"}}, "here/p.mtb", "there/new.mtb"},
    };
    for (const auto& c : cases) {
        test::TempFolder folder;
        fs::create_directory(folder.File("here"));
        fs::create_directory(folder.File("there"));
        test::WriteBytes(folder.File("there/p.mtb"), "old");
        ASSERT_EQ(chmod(folder.File("there/p.mtb").c_str(), 0640), 0);
        for (const auto& [link, to] : c.links)
            fs::create_symlink(to, folder.File(link));

        const Status status = WriteFileAtomically(folder.File(c.saved), "new");
        ASSERT_TRUE(status.ok()) << c.name << ": " << status.message();
        EXPECT_EQ(test::ReadBytes(folder.File(c.target)), "new") << c.name;
        EXPECT_EQ(ModeOf(folder.File("there/p.mtb")), 0640u) << c.name;
        for (const auto& [link, to] : c.links)
            EXPECT_EQ(fs::read_symlink(folder.File(link)), to) << c.name;
        EXPECT_EQ(FilesIn(folder.File("here")), c.links.size()) << c.name;
        EXPECT_EQ(FilesIn(folder.File("there")), c.target == std::string("there/p.mtb") ? 1u : 2u)
            << c.name;
    }
}

TEST(AtomicReplaceTest, ALoopOfLinksIsRefusedAndLeftAlone) {
    test::TempFolder folder;
    fs::create_symlink("b", folder.File("a"));
    fs::create_symlink("a", folder.File("b"));
    const Status status = WriteFileAtomically(folder.File("a"), "new");
    EXPECT_EQ(status.code(), std::errc::too_many_symbolic_link_levels);
    EXPECT_NE(status.message().find(folder.File("a")), std::string::npos) << status.message();
    EXPECT_EQ(fs::read_symlink(folder.File("a")), "b");
    EXPECT_EQ(FilesIn(folder.Path()), 2u);
}

// A file written beside a link on one file system reaches the file the link
// leads to on another by a copy made beside that file.
TEST(AtomicReplaceTest, ALinkToAnotherFileSystemReceivesTheFile) {
    std::string shm = "/dev/shm/zarvopack-XXXXXX";
    if (mkdtemp(shm.data()) == nullptr)
        GTEST_SKIP() << "no second file system at /dev/shm";
    test::TempFolder folder;
    const std::string target = folder.File("p.mtb");
    test::WriteBytes(target, "old");
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    const std::string link = shm + "/p.mtb";
    const std::string saving = shm + "/p.mtb.saving";
    fs::create_symlink(target, link);
    test::WriteBytes(saving, "new");

    const Status status = AtomicReplace(saving, link);
    EXPECT_TRUE(status.ok()) << status.message();
    EXPECT_EQ(test::ReadBytes(target), "new");
    EXPECT_EQ(ModeOf(target), 0600u);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(FilesIn(shm), 1u);
    EXPECT_EQ(FilesIn(folder.Path()), 1u);
    fs::remove_all(shm);
}

TEST(AtomicReplaceTest, ACopyThatFailsLeavesNothing) {
    test::TempFolder folder;
    const std::string from = folder.File("p.mtb");
    test::WriteBytes(from, std::string((2 << 20) + 1, 'x'));
    for (int failAt = 1;; ++failAt) {
        test::FaultyFiles disk(failAt, ENOSPC);
        const Status status = CopyToNewFile(from, folder.File("p.mtb.TMP"));
        if (!disk.Failed()) {
            ASSERT_TRUE(status.ok()) << status.message();
            EXPECT_EQ(test::ReadBytes(folder.File("p.mtb.TMP")), test::ReadBytes(from));
            break;
        }
        EXPECT_EQ(status.code(), std::errc::no_space_on_device);
        EXPECT_FALSE(fs::exists(folder.File("p.mtb.TMP"))) << disk.FailedCall();
    }
}

}  // namespace
}  // namespace zv
