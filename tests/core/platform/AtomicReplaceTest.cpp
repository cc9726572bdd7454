#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

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
