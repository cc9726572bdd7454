#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "core/platform/ChildProcess.h"

namespace zv {
namespace {

TEST(ChildProcessTest, RunsWithoutAShellAndHandsOnItsLines) {
    std::vector<std::string> lines;
    const auto collect = [&](const std::string& line) { lines.push_back(line); };
    // A shell would expand the star and run the second command.
    ChildOutcome outcome =
        RunChild({"printf", "%s\\n* ; echo no\\r%s", "two"}, collect, [] { return true; });
    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_EQ(lines, (std::vector<std::string>{"two", "* ; echo no"}));

    outcome = RunChild({"sh", "-c", "echo failed >&2; exit 3"}, collect, [] { return true; });
    EXPECT_EQ(outcome.exitCode, 3);
    EXPECT_EQ(lines.back(), "failed");

    outcome = RunChild({"zarvopack-no-such-program"}, collect, [] { return true; });
    EXPECT_FALSE(outcome.started);
    EXPECT_EQ(outcome.startError, ENOENT);
}

TEST(ChildProcessTest, ACancelEndsTheProgram) {
    int asked = 0;
    const ChildOutcome outcome = RunChild({"sleep", "60"}, {}, [&] { return ++asked < 3; });
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.exitCode, -1) << "ended by a signal, not by itself";
}

}  // namespace
}  // namespace zv
