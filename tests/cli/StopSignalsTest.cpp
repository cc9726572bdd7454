// Ctrl+C and SIGTERM during a search that would run for hours: the program
// ends at once, the saved project is as it was, and no temporary file stays.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/support/SqlRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Starts the command in the folder with its own temporary folder, signals it
// once it had time to begin searching (or once its standard error says
// `waitFor`), and returns its exit status; -1 when it did not end within ten
// seconds of the signal.
int SignalledStatus(const test::TempFolder& folder, const std::string& args, int signal,
                    const std::string& waitFor = "") {
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.Path().c_str()) != 0)
            _exit(99);
        setenv("TMPDIR", folder.File("tmp").c_str(), 1);
        const std::string command = "exec ./zarvopack-cli " + args + " >out 2>err";
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(98);
    }
    if (waitFor.empty()) {
        std::this_thread::sleep_for(1s);
    } else {
        for (int tries = 0; tries < 1000; ++tries) {
            std::error_code ignored;
            if (fs::exists(folder.File("err"), ignored) &&
                test::ReadBytes(folder.File("err")).find(waitFor) != std::string::npos)
                break;
            std::this_thread::sleep_for(10ms);
        }
    }
    kill(child, signal);
    int status = 0;
    for (int tries = 0; tries < 1000; ++tries) {
        if (waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(10ms);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return -1;
}

TEST(StopSignalsTest, EndTheRunAtOnceAndLeaveNothingBehind) {
    test::TempFolder folder;
    fs::copy_file(ZV_CLI_PROGRAM, folder.File("zarvopack-cli"));
    fs::create_directory(folder.File("tmp"));
    test::WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMediaNum=32766\nMaxFile=32766\n");
    // Even sizes and an odd capacity: no combination ever comes close enough,
    // so without the signal the first medium's search goes on for hours.
    std::string list;
    for (int i = 0; i < 200; ++i)
        list += std::to_string(2 * (1000 + 7 * i)) + " f" + std::to_string(i) + "\n";
    test::WriteBytes(folder.File("list"), list);
    const std::string settings = " --media-size 30001 --tolerance 0 --medium-time-limit 0";
    // A small plan saved first, for the runs on a saved project.
    test::WriteBytes(folder.File("small"), "400 a\n300 b\n");
    const std::string small = "cd " + folder.Path() +
                              " && ./zarvopack-cli plan --sizes small --media-size 1000 --save "
                              "p.mtb >/dev/null";
    ASSERT_EQ(std::system(small.c_str()), 0);
    const std::string saved = test::ReadBytes(folder.File("p.mtb"));

    for (const int signal : {SIGINT, SIGTERM}) {
        for (const std::string mode : {"", " --fast"}) {
            const std::string plan = "plan --sizes list" + settings + mode;
            EXPECT_EQ(SignalledStatus(folder, plan, signal), 128 + signal) << plan;
            EXPECT_TRUE(fs::is_empty(folder.File("tmp"))) << plan;

            const std::string save = plan + " --save p.mtb";
            EXPECT_EQ(SignalledStatus(folder, save, signal), 128 + signal) << save;
            EXPECT_EQ(test::ReadBytes(folder.File("p.mtb")), saved) << save;
            for (const auto& entry : fs::directory_iterator(folder.Path()))
                EXPECT_EQ(entry.path().string().find(".mtb."), std::string::npos)
                    << entry.path() << " after " << save;
        }
    }
}

// A stop during the after-run export comes after the plan took the project's
// place: the message says that the project holds it, and the export leaves
// nothing.
TEST(StopSignalsTest, AStopDuringTheAfterRunExportSaysThePlanWasKept) {
    test::TempFolder folder;
    fs::copy_file(ZV_CLI_PROGRAM, folder.File("zarvopack-cli"));
    fs::create_directory(folder.File("tmp"));
    const std::string media = folder.File("media");
    test::WriteBytes(folder.Settings(),
                     "[DEFAULT_SET_RUN]\nMediaNum=32766\nMaxFile=32766\n"
                     "AfterRun=1\nAfterPath=" +
                         media + "\n");
    // Files without blocks whose checksums take a while all the same.
    fs::create_directory(folder.File("data"));
    for (int i = 0; i < 40; ++i) {
        const std::string file = folder.File("data/f" + std::to_string(i));
        test::WriteBytes(file, "");
        fs::resize_file(file, 100 << 20);
    }
    const int status = SignalledStatus(folder, "plan --media-size 9000000000 --save p.mtb data",
                                       SIGINT, "after the run: writing");
    EXPECT_EQ(status, 130);
    const std::string err = test::ReadBytes(folder.File("err"));
    EXPECT_NE(err.find("stopped by SIGINT during the after-run export; the project holds the new "
                       "plan"),
              std::string::npos)
        << err;
    EXPECT_EQ(test::Rows(folder.File("p.mtb"), "SELECT DISTINCT CDNUMBER FROM MainDB"),
              std::vector<std::string>{"1"});
    EXPECT_FALSE(fs::exists(media + "/p_01"));
}

}  // namespace
}  // namespace zv
