// The command-line tool as installed: the program in a read-only bin folder,
// its shipped defaults in share/zarvopack, run by a user with an empty home;
// and as a portable copy, its settings file beside it.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out;
    std::string err;
};

// The run defaults of a settings file besides the media size.
const std::string kRunDefaults =
    "DiffSize=0\nMediaNum=32766\nMaxFile=32766\nMinFile=0\nMaxSpeed=0\n";

fs::perms Permissions(const std::string& path) {
    return fs::status(path).permissions() & fs::perms::mask;
}

bool IsEmptyFolder(const std::string& path) {
    return fs::is_directory(path) && fs::is_empty(path);
}

class InstalledCliTest : public ::testing::Test {
  protected:
    InstalledCliTest() {
        for (const char* sub : {"prefix/bin", "prefix/share/zarvopack", "home", "tmp"})
            fs::create_directories(folder.File(sub));
        fs::copy_file(ZV_CLI_PROGRAM, Bin("zarvopack-cli"));
        fs::copy_file(ZV_SHIPPED_SETTINGS, folder.File("prefix/share/zarvopack/zarvopack.dat"));
        test::WriteBytes(folder.File("sizes"), "400 a\n300 b\n");
        // Root writes into anything; an ordinary user is what an installed
        // program meets, and they may not write beside it.
        fs::permissions(folder.Path(), fs::perms::all, fs::perm_options::add);
        fs::permissions(folder.File("prefix/bin"),
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
        if (geteuid() == 0) {
            runner = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
            for (const char* sub : {"home", "tmp"})
                static_cast<void>(::chown(folder.File(sub).c_str(), 65534, 65534));
        }
    }

    std::string Bin(const std::string& name) const { return folder.File("prefix/bin/" + name); }
    std::string Home(const std::string& name) const { return folder.File("home/" + name); }

    // The program with nothing of the user's environment but an empty home
    // and a temporary folder of the test's own.
    Result Cli(const std::string& args) {
        const std::string command = "cd " + folder.Path() +
                                    " && env -i PATH=/usr/bin:/bin HOME=" + folder.File("home") +
                                    " TMPDIR=" + folder.File("tmp") + " " + runner +
                                    Bin("zarvopack-cli") + " " + args + " <sizes >out 2>err";
        const int status = std::system(command.c_str());
        return {WEXITSTATUS(status), test::ReadBytes(folder.File("out")),
                test::ReadBytes(folder.File("err"))};
    }

    test::TempFolder folder;
    std::string runner;
};

// The first start gives the user a private copy of the shipped defaults; the
// plan's work files go to a private folder in their cache and leave nothing
// behind, neither there nor in the temporary folder nor beside the program.
TEST_F(InstalledCliTest, SettingsAreTheUsersOwnAndWorkFilesPrivate) {
    const std::string settings = Home(".config/zarvopack/zarvopack.dat");
    Result r = Cli("--help");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("settings file: " + settings + " (the user's own)"), std::string::npos)
        << r.out;
    EXPECT_FALSE(fs::exists(settings)) << "help changes nothing";

    r = Cli("plan --sizes - --media-size 700 --tolerance 0 --fs-allowance none");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(test::ReadBytes(settings), test::ReadBytes(ZV_SHIPPED_SETTINGS));
    EXPECT_EQ(Permissions(settings), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Permissions(Home(".config/zarvopack")), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(Home(".cache/zarvopack"))) << "a plan not kept writes no file";
    EXPECT_TRUE(IsEmptyFolder(folder.File("tmp")));
    EXPECT_EQ(fs::directory_iterator(folder.File("prefix/bin"))->path(), Bin("zarvopack-cli"));

    // A changed setting of the user's is the one that counts from then on.
    test::WriteBytes(
        settings, "[MSizeSet]\n0=Small#500\n[DEFAULT_SET_RUN]\nMediaSize=Small\n" + kRunDefaults);
    r = Cli("plan --sizes - --tolerance 0");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2 media, 700 bytes placed"), std::string::npos) << r.out;
}

// A settings file beside the program makes a portable copy: it is used, and
// nothing is made in the user's configuration folder.
TEST_F(InstalledCliTest, ASettingsFileBesideTheProgramIsUsedInstead) {
    fs::permissions(folder.File("prefix/bin"), fs::perms::owner_write, fs::perm_options::add);
    test::WriteBytes(Bin("zarvopack.dat"),
                     "[MSizeSet]\n0=Tiny#700\n[DEFAULT_SET_RUN]\nMediaSize=Tiny\n" + kRunDefaults);
    Result r = Cli("--help");
    EXPECT_NE(r.out.find("settings file: " + Bin("zarvopack.dat") +
                         " (beside the program: a portable copy)"),
              std::string::npos)
        << r.out;
    r = Cli("plan --sizes - --tolerance 0");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("1 medium, 700 bytes placed"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(Home(".config")));
}

}  // namespace
}  // namespace zv
