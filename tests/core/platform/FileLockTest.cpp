#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform/FileError.h"
#include "core/platform/FileLock.h"
#include "tests/support/OtherProcess.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

TEST(FileLockTest, AnotherProcessHoldingTheLockMakesItInUse) {
    test::TempFolder folder;
    const std::string project = folder.File("p.mtb");
    test::OtherProcess other([&] {
        static FileLock held(project);
        return held.Take().ok();
    });
    ASSERT_TRUE(other.Holding());

    FileLock mine(project);
    const Status refused = mine.Take();
    EXPECT_EQ(refused.code(), FileError::InUse);
    EXPECT_NE(refused.message().find(project), std::string::npos) << refused.message();
    EXPECT_FALSE(mine.Held());

    other.End();
    EXPECT_TRUE(mine.Take().ok());
    EXPECT_TRUE(fs::exists(project + ".lock"));
}

// A run takes the lock and saves the project it holds: within one process the
// lock is taken again, and it goes with the last holder.
TEST(FileLockTest, OneProcessTakesItAgainAndTheLastHolderRemovesIt) {
    test::TempFolder folder;
    const std::string project = folder.File("p.mtb");
    {
        FileLock run(project);
        ASSERT_TRUE(run.Take().ok());
        {
            FileLock save(folder.Path() + "/./p.mtb");
            EXPECT_TRUE(save.Take().ok());
        }
        EXPECT_TRUE(fs::exists(project + ".lock"));
        test::OtherProcess other([&] { return FileLock(project).Take().ok(); });
        EXPECT_FALSE(other.Holding());
    }
    EXPECT_FALSE(fs::exists(project + ".lock"));

    // A lock file left by a process that was killed stands in nobody's way.
    test::WriteBytes(project + ".lock", "");
    FileLock after(project);
    EXPECT_TRUE(after.Take().ok());
}

}  // namespace
}  // namespace zv
