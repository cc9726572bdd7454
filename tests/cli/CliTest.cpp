// The command-line tool as a person or a script uses it: the real program,
// started in a folder of its own with its own settings file. What the tool
// decides is checked here; the plans, exports and project files it hands on
// are checked where they are made, in tests/core.

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "core/platform/FileLock.h"
#include "core/project/ProjectFile.h"
#include "tests/support/SqlRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using test::Rows;
using namespace std::chrono_literals;

struct Result {
    int status;
    std::string out;
    std::string err;
    // The lines written to standard error.
    long ErrLines() const { return std::count(err.begin(), err.end(), '\n'); }
    testing::AssertionResult Says(const std::string& text) const {
        if ((out + err).find(text) == std::string::npos)
            return testing::AssertionFailure() << "no '" << text << "' in:\n" << out << err;
        return testing::AssertionSuccess() << "'" << text << "' in:\n" << out << err;
    }
};

class CliTest : public ::testing::Test {
  protected:
    CliTest() {
        fs::copy_file(ZV_CLI_PROGRAM, folder.File("zarvopack-cli"));
        test::WriteBytes(folder.Settings(),
                         "[MSizeSet]\n0=Small#1000\n1=Tiny#700\n"
                         "[DEFAULT_SET_RUN]\nMediaSize=Small\nDiffSize=0\nMediaNum=32766\n"
                         "MaxFile=32766\nMinFile=0\nMaxSpeed=0\n");
    }

    Result Cli(const std::string& args, const std::string& input = "") {
        test::WriteBytes(folder.File("in"), input);
        const std::string command =
            "cd " + folder.Path() + " && " + runner + program + " " + args + " <in >out 2>err";
        const int status = std::system(command.c_str());
        return {WEXITSTATUS(status), test::ReadBytes(folder.File("out")),
                test::ReadBytes(folder.File("err"))};
    }
    // Runs a command that must end with `status` and say `says`.
    Result Expect(int status, const std::string& args, const std::string& says = "",
                  const std::string& input = "") {
        Result r = Cli(args, input);
        EXPECT_EQ(r.status, status) << args << ":\n" << r.out << r.err;
        EXPECT_TRUE(r.Says(says)) << args;
        return r;
    }
    // Starts the command with a temporary folder of its own, signals it once it
    // had time to begin (or once its standard error says `waitFor`), and
    // returns its exit status; -1 when it did not end within ten seconds.
    int Signalled(const std::string& args, int signal, const std::string& waitFor = "") {
        fs::create_directories(folder.File("tmp"));
        fs::remove(folder.File("err"));
        const pid_t child = fork();
        if (child == 0) {
            const std::string command = "cd " + folder.Path() + " && TMPDIR=" + folder.File("tmp") +
                                        " exec " + program + " " + args + " </dev/null >out 2>err";
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(98);
        }
        for (int tries = 0; tries < 1000; ++tries) {
            if (waitFor.empty()
                    ? tries == 100
                    : test::ReadBytes(folder.File("err")).find(waitFor) != std::string::npos)
                break;
            std::this_thread::sleep_for(10ms);
        }
        kill(child, signal);
        int status = 0;
        for (int tries = 0; tries < 1000; ++tries, std::this_thread::sleep_for(10ms)) {
            if (waitpid(child, &status, WNOHANG) == child)
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return -1;
    }
    std::string MakeFile(const std::string& name, size_t size) {
        const std::string path = folder.File(name);
        fs::create_directories(fs::path(path).parent_path());
        test::WriteBytes(path, std::string(size, 'x'));
        return path;
    }
    void AddSettings(const std::string& lines) {
        test::WriteBytes(folder.Settings(), test::ReadBytes(folder.Settings()) + lines);
    }
    // Runs the program as a user whom permissions stop: root reads everything.
    void WithoutPrivileges() {
        fs::permissions(folder.Path(), fs::perms::all, fs::perm_options::add);
        if (geteuid() == 0)
            runner += "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    }

    test::TempFolder folder;
    std::string project = folder.File("p.mtb");
    std::string program = "./zarvopack-cli";
    std::string runner;
};

// One plan in the formats for scripts and for people, and a run's message in
// both. The search's own figures differ from run to run and are left out.
TEST_F(CliTest, JsonAndTheTableGiveEachMediumAndWhatIsOnNoMedium) {
    const std::string plan = "plan --sizes - --media-size 1000 --tolerance 0 --fs-allowance none";
    const std::string sizes = "600 a\n300 b\n500 c\n2000 d\n";
    Result r = Expect(3, plan + " --json", "", sizes);
    const std::regex figures(R"("search_steps": \d+, "search_seconds": [-.e0-9]+, )");
    EXPECT_EQ(std::regex_replace(r.out, figures, ""),
              "{\"completed\": true, \"message\": null, \"media\": [{\"number\": 1, \"total\": "
              "900, \"capacity\": 1000, \"free\": 100, \"fill\": 0.9, \"items\": [{\"name\": "
              "\"a\", \"size\": 600, \"files\": [\"a\"]}, {\"name\": \"b\", \"size\": 300, "
              "\"files\": [\"b\"]}]}, {\"number\": 2, \"total\": 500, \"capacity\": 1000, "
              "\"free\": 500, \"fill\": 0.5, \"items\": [{\"name\": \"c\", \"size\": 500, "
              "\"files\": [\"c\"]}]}], \"unplaced\": [{\"name\": \"d\", \"size\": 2000, "
              "\"files\": [\"d\"], \"reason\": \"larger_than_medium\"}], \"skipped\": [], "
              "\"totals\": {\"items\": 4, \"bytes\": 3400, \"media\": 2, \"placed_bytes\": 1400, "
              "\"unplaced\": 1, \"unplaced_bytes\": 2000}}\n");
    r = Expect(3, plan + " --verbose", "", sizes);
    EXPECT_EQ(r.out,
              "medium  items               total                free    fill\n"
              "     1      2                 900                 100   90.0%\n"
              "                   600  a\n"
              "                   300  b\n"
              "     2      1                 500                 500   50.0%\n"
              "                   500  c\n"
              "unplaced    1               2,000\n"
              "                 2,000  d\n"
              "2 media, 1,400 bytes placed\n");

    r = Expect(3, "plan --sizes - --media-size 700 --json",
               "zarvopack-cli: ﾒﾃﾞｨｱを１つも生成できませんでした 全てのﾌｧｲﾙが", "800 a\n900 b\n");
    EXPECT_TRUE(
        r.Says("\"message\": {\"id\": 40025, \"text\": \"ﾒﾃﾞｨｱを１つも生成できません"
               "でした\\r\\n全てのﾌｧｲﾙがﾒﾃﾞｨｱ容量を超えている可能性が有ります\"}, "
               "\"media\": [], "));
}

// The media size, its presets and the method come from the settings file
// unless the command line names them. Taking the first combination within the
// tolerance, one medium after the other, needs a fourth medium where the
// fewest-media method needs three.
TEST_F(CliTest, SettingsAndOptionsChooseSizeAndMethod) {
    const std::string six = "8 a\n5 b\n5 c\n6 d\n3 e\n1 f\n";
    const std::string ten = " --media-size 10 --tolerance 1";
    const std::tuple<std::string, std::string, std::string, int> cases[] = {
        {"", "500 a\n300 b\n", "", 1},
        {" --media-size Tiny", "500 a\n300 b\n", "", 2},
        {ten, six, "", 4},
        {ten + " --method fewest", six, "", 3},
        {ten, six, "Method=1\n", 3},
        {ten + " --method sequential", six, "", 4},
    };
    for (const auto& [args, sizes, settings, media] : cases) {
        AddSettings(settings);
        const Result r = Expect(0, "plan --sizes - --json" + args, "", sizes);
        const std::regex medium("\"number\": ");
        EXPECT_EQ(std::distance(std::sregex_iterator(r.out.begin(), r.out.end(), medium), {}),
                  media)
            << args << r.out;
    }
}

// A value of the settings file that a run cannot use fails the command with
// 1 (no usage error), naming the file and the key, but only where the command
// line leaves the value to it. A file too large to be one fails too, and one
// that cannot be read is not taken for one without settings.
TEST_F(CliTest, SettingsThatCannotBeUsedFailOnlyWhereTheyAreNeeded) {
    const std::string base = test::ReadBytes(folder.Settings());
    const std::string file = "the settings file '" + folder.Settings() + "'";
    const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
        {"MediaNum", "many",
         "zarvopack-cli: " + file +
             " holds a value that does not convert: [DEFAULT_SET_RUN] MediaNum=many\n",
         "--media-count 5"},
        {"MinFile", "32766",
         "the minimum items must be smaller than the maximum items; the values not given on "
         "the command line come from " +
             file,
         "--min-items 0"},
        {"MediumTimeLimit", "nan", "[DEFAULT_SET_RUN] MediumTimeLimit=nan",
         "--medium-time-limit 0"},
    };
    for (const auto& [key, value, says, given] : cases) {
        std::string settings = base;
        const std::size_t at = settings.find(key + "=");
        if (at == std::string::npos)
            settings += key + "=" + value + "\n";
        else
            settings.replace(at, settings.find('\n', at) - at, key + "=" + value);
        test::WriteBytes(folder.Settings(), settings);
        EXPECT_EQ(Expect(1, "plan --sizes -", says, "500 a\n").ErrLines(), 1) << key;
        Expect(0, "plan --sizes - " + given, "", "500 a\n");
    }
    test::WriteBytes(folder.Settings(), base + "; " + std::string(2 << 20, 'x') + "\n");
    Expect(1, "plan --sizes -", "(larger than the 1 MiB a settings file may be)", "500 a\n");

    test::WriteBytes(folder.Settings(), base);
    fs::permissions(folder.Settings(), fs::perms::none);
    WithoutPrivileges();
    EXPECT_EQ(Expect(1, "plan --sizes - --media-count 5", "", "500 a\n").err,
              "zarvopack-cli: cannot read the settings file '" + folder.Settings() +
                  "' (Permission denied) for [DEFAULT_SET_RUN] MediaSize\n");
    Expect(0,
           "plan --sizes - --media-size 700 --media-count 5 --max-items 9 --min-items 0 --no-fast "
           "--method sequential --medium-time-limit 0 --fs-allowance none",
           "", "500 a\n");
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndOneLine) {
    MakeFile("x", 1);
    for (const std::string args :
         {"frobnicate", "plan", "show", "run a.mtb b.mtb", "export p.mtb", "plan missing-file",
          "verify p.mtb", "show --fast p.mtb", "export --to p.mtb", "export --format zip p.mtb",
          "show --verbose=no p.mtb", "show --format links p.mtb", "show --allow-unplaced p.mtb",
          "plan --media-size Huge x", "plan --media-count 0 x", "plan --method best x",
          "plan --fs-allowance some x", "plan --min-items 5 --max-items 5 x",
          "plan --tolerance 1000 --media-size 1000 x"}) {
        const Result r = Expect(2, args, "", "12 a\nnot-a-number b\n");
        EXPECT_TRUE(r.out.empty() && r.ErrLines() == 1 && r.err.starts_with("zarvopack-cli: "))
            << args << ": " << r.out << r.err;
    }
    Expect(2, "plan --sizes -", "standard input:2:", "12 a\nnot-a-number b\n");
    Expect(2, "plan --sizes .", "'.' is a folder");
    // Lines and names are bounded by the file system's limits, so a list costs
    // bounded memory whatever its lines.
    Expect(2, "plan --sizes -", "standard input:2: the line is longer than 4352 bytes",
           "1 a\n1 " + std::string(5000, 'n') + "\n");
    Expect(2, "plan --sizes -", "standard input:1: a name is longer than the file system's 4096",
           "1 d/" + std::string(256, 'n') + "/e\n");
    Expect(0, "plan --sizes -", "", "1 d/" + std::string(255, 'n') + "\n");
    EXPECT_EQ(Expect(0, "--version").out, "zarvopack-cli " ZV_VERSION "\n");
    Expect(0, "--help", "  3    done, but something is on no medium");
    // A bare call shows the usage.
    EXPECT_EQ(Expect(2, "").err.rfind("usage: zarvopack-cli plan", 0), 0u);
}

TEST_F(CliTest, CapacitiesTakeUnitsAndDiscsAndRefuseWhatNoMediumIs) {
    const std::tuple<std::string, int, std::string> cases[] = {
        {"4.7G", 0, "zarvopack-cli: media size '4.7G': 4,700,000,000 bytes\n"},
        {"dvd --quiet", 0, ""},
        {"Small", 0, ""},
        {"99999999999999999999", 2,
         "zarvopack-cli: the media size '99999999999999999999' is more than any medium holds (at "
         "most 1P, 10^15 bytes) (see zarvopack-cli --help)\n"},
        {"4.7X", 2,
         "is neither a number of bytes, a capacity such as 4.7G or dvd, nor a size "
         "preset (presets: 'Small', 'Tiny')"},
    };
    for (const auto& [size, status, err] : cases) {
        const Result r = Expect(status, "plan --sizes - --fs-allowance none --media-size " + size,
                                err, "100 a\n");
        EXPECT_EQ(r.err.empty(), err.empty()) << size << ": " << r.err;
    }
}

// A saved plan opens with show and exports its media within its capacity;
// the catalog goes beside the project, and only --force writes it again. A
// file gone since fails the export naming it.
TEST_F(CliTest, ASavedPlanShowsAndExportsItsMedia) {
    MakeFile("data/one.bin", 600);
    MakeFile("data/two.bin", 300);
    MakeFile("data/sub/three.bin", 350);
    MakeFile("data/sub/four.bin", 100);
    Expect(0, "plan --media-size 1000 --save p.mtb data");
    Expect(0, "show --verbose p.mtb",
           "     1      3               1,000                   0  100.0%\n"
           "                   600  " +
               folder.File("data/one.bin"));
    EXPECT_EQ(Expect(0, "export --format links --to media p.mtb").out, "media/p_01\nmedia/p_02\n");
    // No image of a file system fits 1000 bytes.
    Expect(1, "export --format iso --to media p.mtb",
           "more than the medium's capacity of 1000 bytes");
    for (const auto& [args, status] : {std::pair{"", 0}, {"", 1}, {" --force", 0}}) {
        const Result r = Expect(status, std::string("export --format catalog") + args + " p.mtb");
        EXPECT_EQ(r.err,
                  status ? "zarvopack-cli: '" + folder.File("p_catalog.csv") + "': exists already\n"
                         : "");
        EXPECT_TRUE(fs::exists(folder.File("p_catalog.csv")));
    }
    fs::remove(folder.File("data/two.bin"));
    EXPECT_EQ(Expect(1, "export --format lists p.mtb").err,
              "zarvopack-cli: '" + folder.File("data/two.bin") + "': the file does not exist\n");
}

// A file or folder that is there but cannot be read fails the plan naming it:
// a runtime failure, not a wrong command line, and no file is left out.
TEST_F(CliTest, UnreadablePathsFailNamingThem) {
    MakeFile("tree/open/a", 10);
    MakeFile("tree/shut/b", 10);
    MakeFile("blind/c", 10);
    MakeFile("secret", 10);
    fs::permissions(folder.File("tree/shut"), fs::perms::none);
    fs::permissions(folder.File("blind"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder.File("secret"), fs::perms::none);
    WithoutPrivileges();
    const std::pair<const char*, const char*> cases[] = {
        {"tree", "tree/shut'"}, {"tree/shut", "tree/shut'"}, {"tree/shut/b", "tree/shut/b'"},
        {"blind", "blind/c'"},  {"blind/c", "blind/c'"},     {"--sizes secret", "secret'"}};
    for (const auto& [args, named] : cases)
        EXPECT_EQ(Expect(1, std::string("plan ") + args, named).ErrLines(), 1) << args;
    fs::permissions(folder.File("tree/shut"), fs::perms::owner_all);
    fs::permissions(folder.File("blind"), fs::perms::owner_all);
}

// The table is for people: a name cannot redraw the terminal or pass for two
// lines. JSON escapes on its own terms, and lists the files of a group.
TEST_F(CliTest, NamesShowEscapedAndGroupsKeepTheirFiles) {
    MakeFile("data/two\nlines", 10);
    MakeFile("data/clear\x1b[2J", 10);
    const Result r = Expect(0, "plan --verbose data", "/data/two\\nlines\n");
    EXPECT_TRUE(r.Says("/data/clear\\x1b[2J\n"));
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos);

    MakeFile("a/x", 300);
    MakeFile("a/y", 300);
    MakeFile("b/z", 500);
    Expect(0, "plan --group-folders --media-size 1000 --json a b",
           "{\"name\": \"a\", \"size\": 600, \"files\": [\"" + folder.File("a/x") + "\", \"" +
               folder.File("a/y") + "\"]}");
}

// Every kind of entry of a tree is either an item that a disc recreates or
// named as skipped: nothing vanishes.
TEST_F(CliTest, LinksAndEmptyFoldersAreItemsAndWhatNoDiscHoldsIsNamed) {
    MakeFile("tree/one.bin", 100);
    MakeFile("tree/sub/two.bin", 200);
    fs::create_directories(folder.File("tree/empty"));
    fs::create_directories(folder.File("tree/pipes"));
    ASSERT_EQ(mkfifo(folder.File("tree/pipes/fifo").c_str(), 0600), 0);
    fs::create_symlink("one.bin", folder.File("tree/to-file"));
    fs::create_symlink("sub", folder.File("tree/to-folder"));
    fs::create_symlink("missing", folder.File("tree/nowhere"));
    fs::create_directory_symlink(folder.File("tree"), folder.File("link-to-tree"));

    const std::pair<const char*, int> entries[] = {
        {"empty", 0},   {"pipes", 0},     {"to-file", 0},      {"to-folder", 0},
        {"nowhere", 0}, {"one.bin", 100}, {"sub/two.bin", 200}};
    for (const std::string named : {"tree", "link-to-tree"}) {
        const std::string fifo = folder.File(named + "/pipes/fifo");
        const Result r =
            Expect(3, "plan --media-size 100000 --fs-allowance none --json " + named,
                   "\"skipped\": [{\"path\": \"" + fifo + "\", \"kind\": \"a FIFO\"}]");
        EXPECT_EQ(r.err,
                  "zarvopack-cli: skipped '" + fifo + "': it is a FIFO, which no disc holds\n");
        for (const auto& [entry, size] : entries)
            EXPECT_TRUE(r.Says("{\"name\": \"" + folder.File(named + "/" + entry) +
                               "\", \"size\": " + std::to_string(size)));
        EXPECT_FALSE(r.Says("to-folder/two.bin")) << "a link to a folder is not walked";
        EXPECT_TRUE(r.Says("\"totals\": {\"items\": 7, "));
    }
    Expect(1, "plan --allow-unplaced tree/pipes/fifo");  // nothing to plan

    // A run measures the files named by their full path again, and a link
    // still only as itself; items of a size list keep the sizes the list gave,
    // whatever file of their name the current folder holds.
    Expect(0, "plan --sizes - --allow-unplaced --fs-allowance none --save p.mtb tree", "",
           "5 listed\n");
    MakeFile("listed", 900);
    MakeFile("tree/one.bin", 600);
    const Result r = Expect(0, "run --json p.mtb", "{\"name\": \"listed\", \"size\": 5,");
    EXPECT_TRUE(r.Says("{\"name\": \"" + folder.File("tree/to-file") + "\", \"size\": 0,"));
    EXPECT_TRUE(r.Says("{\"name\": \"" + folder.File("tree/one.bin") + "\", \"size\": 600,"));
}

// What a plan leaves on no medium is named with the reason, and plan, run and
// export exit with 3 unless the user says it is expected.
TEST_F(CliTest, UnplacedItemsAreNamedWithTheirReasonAndExitWithThree) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"--media-size 300 --fs-allowance none", "500 a\n100 b\n100 c\n",
         "zarvopack-cli: not placed 'a': larger than a medium (500 bytes, a medium holds 300 "
         "bytes)\nzarvopack-cli: 1 item of 500 bytes on no medium\n"},
        {"--media-size 700 --tolerance 0 --media-count 1 --fs-allowance none",
         "400 a\n300 b\n300 c\n200 d\n",
         "not placed 'b': the media count of 1 is reached (--media-count)\n"},
        {"--media-size 1000 --min-items 1 --fs-allowance none", "400 a\n",
         "not placed 'a': the items of a medium are limited to more than 1 (--min-items)"},
        {"--media-size 700 --fs-allowance iso9660", "400 a\n",
         "not placed 'a': a medium of 700 bytes is too small for its ISO 9660 file system alone "
         "(--fs-allowance none leaves no room for one)\n"},
    };
    for (const auto& [args, sizes, said] : cases) {
        for (const auto& [allow, status] : {std::pair{"", 3}, {" --allow-unplaced", 0}})
            Expect(status, "plan --sizes - " + args + allow, said, sizes);
    }

    for (const auto& [name, size] : {std::pair{"a", 400}, {"b", 300}, {"c", 300}, {"d", 200}})
        MakeFile(std::string("data/") + name, size);
    Expect(3,
           "plan --media-size 700 --tolerance 0 --fs-allowance none --media-count 1 "
           "--save p.mtb data");
    Expect(3, "run --media-count 1 p.mtb");
    for (const auto& [args, status] : {std::pair{"", 3}, {" --force --allow-unplaced", 0}}) {
        Expect(status, std::string("export --format catalog") + args + " p.mtb",
               "/data/c': the media count of 1 is reached");
        EXPECT_TRUE(fs::exists(folder.File("p_catalog.csv")));
    }
}

// A save replaces only a project unless --force is given, and never what is
// no regular file.
TEST_F(CliTest, SaveReplacesOnlyProjects) {
    test::WriteBytes(folder.File("list"), "400 a\n300 b\n");
    test::WriteBytes(folder.File("notes.txt"), "notes\n");
    ASSERT_EQ(mkfifo(folder.File("fifo").c_str(), 0600), 0);
    // Reading the FIFO would wait for a writer; it must stay a FIFO.
    for (const std::string target : {"notes.txt", "fifo", "fifo --force", "list"}) {
        const bool fifo = target.starts_with("fifo");
        const std::string before = fifo ? "" : test::ReadBytes(folder.File(target));
        EXPECT_EQ(Expect(1, "plan --sizes list --save " + target).ErrLines(), 1) << target;
        if (!fifo) {
            EXPECT_EQ(test::ReadBytes(folder.File(target)), before) << target;
        }
    }
    EXPECT_EQ(Expect(0, "plan --sizes list --save notes.txt --force").err, "");
    EXPECT_EQ(Rows(folder.File("notes.txt"), "SELECT GROUPNAME FROM MainDB").size(), 2u);
    EXPECT_TRUE(fs::is_fifo(folder.File("fifo")));
}

// A run that fails says why, with the system's cause, on standard error and
// exits with 1 in every output mode.
TEST_F(CliTest, FailedRunsSayWhy) {
    Expect(0, "plan --sizes - --save p.mtb", "", "400 a\n");
    // No file may grow beyond 1 KiB: the run's project cannot be built.
    runner = "trap '' XFSZ; ulimit -f 1; ";
    for (const std::string mode : {"--json", "--verbose"}) {
        const Result r = Expect(1, "run " + mode + " p.mtb", "ﾃﾞｰﾀの更新処理に失敗しました");
        EXPECT_EQ(r.ErrLines(), 1) << mode << ": " << r.err;
        EXPECT_TRUE(
            r.Says("cannot write '" + project + ".saving': disk I/O error (File too large)"));
        EXPECT_EQ(r.out.find("\"completed\": false") != std::string::npos, mode == "--json");
    }
}

// A run stores its media numbers and settings in the project, after clearing
// away what a run cut off left (databases of the program's, and their
// journals), the project moved aside included. Through a link it writes the
// project the link leads to. Files beside it that are not the program's own
// stay, and what stands in the way of a run is named.
TEST_F(CliTest, ARunStoresItsResultsAfterClearingWhatAnInterruptedRunLeft) {
    Expect(3, "plan --sizes - --media-size 700 --media-count 1 --save p.mtb", "",
           "400 a\n300 b\n300 c\n200 d\n");
    for (const std::string left : {".TMP", ".saving"})
        fs::copy_file(project, project + left);
    test::WriteBytes(project + ".saving-journal", "left over");
    fs::rename(project, project + ".TMP.TMP");
    Expect(0, "run --media-count 2 p.mtb");
    EXPECT_EQ(Rows(project, "SELECT GROUPNAME, CDNUMBER FROM MainDB"),
              (Texts{"a|1", "b|2", "c|2", "d|1"}));
    EXPECT_EQ(Rows(project, "SELECT MEDIASIZE, MEDIANUM FROM SetUp"), Texts{"700|2"});
    for (const auto& entry : fs::directory_iterator(folder.Path()))
        EXPECT_EQ(entry.path().string().find(".mtb."), std::string::npos) << entry.path();

    fs::create_symlink("p.mtb", folder.File("link.mtb"));
    for (const std::string side : {".TMP", ".TMP.TMP"})
        test::WriteBytes(project + side, "mine");
    Expect(0, "run --media-count 9 link.mtb");
    EXPECT_TRUE(fs::is_symlink(folder.File("link.mtb")));
    EXPECT_EQ(Rows(project, "SELECT MEDIANUM FROM SetUp"), Texts{"9"});
    for (const std::string side : {".TMP", ".TMP.TMP"})
        EXPECT_EQ(test::ReadBytes(project + side), "mine") << side;
    for (const std::string side : {".saving", ".saving.TMP"}) {
        test::WriteBytes(project + side, "mine");
        Expect(1, "run link.mtb", project + side + "' is in the way");
        EXPECT_EQ(test::ReadBytes(project + side), "mine") << side;
        fs::remove(project + side);
    }
}

// A project whose write permission is taken away, or that another run or save
// holds (another command, or the desktop program), is neither saved over nor
// run.
TEST_F(CliTest, ReadOnlyProjectsAndProjectsInUseAreLeftAsTheyAre) {
    for (const std::string obstacle : {"read-only", "in use"}) {
        fs::remove(project);
        Expect(0, "plan --sizes - --media-size 700 --save p.mtb", "", "400 a\n");
        const mode_t mode = obstacle == "read-only" ? 0444 : 0640;
        ASSERT_EQ(chmod(project.c_str(), mode), 0);
        const std::string before = test::ReadBytes(project);
        FileLock otherRun(project);
        if (obstacle == "in use") {
            ASSERT_TRUE(otherRun.Take().ok());
        }
        for (const std::string command : {"plan --sizes - --save p.mtb", "run p.mtb"}) {
            EXPECT_EQ(Expect(1, command, obstacle, "300 b\n").ErrLines(), 1) << command;
            EXPECT_EQ(test::ReadBytes(project), before) << command;
            EXPECT_EQ(fs::status(project).permissions(), fs::perms(mode)) << command;
        }
    }
    Expect(0, "run p.mtb");  // the lock went with its holder
}

// A file that is no project, one with a value no run can use and one that is
// not there: each fails show, run and export with one line naming it, and
// stays as it is with the files beside it, even those the program would call
// its own beside a project.
TEST_F(CliTest, FilesThatAreNoProjectOrDoNotMatchTheirChecksumAreRefused) {
    Expect(0, "plan --sizes - --media-size 700 --save negative.mtb", "", "400 a\n300 b\n");
    ASSERT_EQ(test::Exec(folder.File("negative.mtb"), "UPDATE MainDB SET CDNUMBER = -1"),
              SQLITE_OK);
    const std::string text = MakeFile("text.mtb", 10);
    const Texts sides{".TMP",     ".TMP.TMP", ".saving", ".saving.TMP", ".saving-journal",
                      "-journal", "-wal"};
    for (const std::string& side : sides)
        test::WriteBytes(text + side, "mine");
    for (const std::string name : {"text.mtb", "negative.mtb", "none.mtb"}) {
        const std::string before = test::ReadBytes(folder.File(name));
        for (const std::string command : {"show ", "run ", "export --format lists "}) {
            EXPECT_EQ(Expect(1, command + name, name).ErrLines(), 1) << command << name;
            EXPECT_EQ(test::ReadBytes(folder.File(name)), before) << command << name;
        }
    }
    Expect(1, "plan --sizes - --save text.mtb", "", "1 a\n");
    for (const std::string& side : sides)
        EXPECT_EQ(test::ReadBytes(text + side), "mine") << side;

    // One whose contents do not match its checksum loads only with --force.
    MakeFile("data/one.bin", 600);
    Expect(0, "plan --media-size 1000 --save p.mtb data");
    ASSERT_EQ(test::Exec(project, "UPDATE [Plan] SET [MEDIUM] = 2"), SQLITE_OK);
    Expect(1, "show p.mtb",
           "'p.mtb': the file's contents do not match its checksum (show, run and export load "
           "it as it is with --force)");
    Expect(0, "show --force p.mtb", "loaded as it is (--force)\n");
    const Result r = Expect(0, "export --format lists --to media --force p.mtb",
                            "do not match its checksum; loaded as it is (--force)");
    EXPECT_EQ(r.out, "media/p_02.quoted_path_list\n");
}

// An after-run action stored in a project runs only once it was confirmed for
// that file: with --after-run, which is remembered, or by the plan that took
// it from this machine's settings, after a plan that is kept. A changed action
// asks again, what it wrote before is replaced only with --force, and names
// from a size list are no files to export.
TEST_F(CliTest, AnAfterRunActionRunsOnlyOnceConfirmed) {
    MakeFile("data/one.bin", 600);
    Expect(0, "plan --media-size 1000 --save p.mtb data");
    const std::string media = folder.File("media");
    ASSERT_EQ(test::Exec(project, "UPDATE SetUp SET AFTERFLG = 1, AFTERPATH = '" + media + "2'"),
              SQLITE_OK);
    Expect(0, "run p.mtb", "it was not carried out");
    Expect(0, "run --after-run p.mtb",
           "writing a folder of links per medium into '" + media + "2'");
    EXPECT_TRUE(fs::exists(media + "2/p_01/SHA256SUMS"));
    fs::remove_all(media + "2");
    Expect(0, "run p.mtb");
    EXPECT_TRUE(fs::exists(media + "2/p_01/SHA256SUMS"));
    ASSERT_EQ(test::Exec(project, "UPDATE SetUp SET AFTERPATH = '" + media + "3'"), SQLITE_OK);
    Expect(0, "run p.mtb");
    EXPECT_FALSE(fs::exists(media + "3"));

    // The settings' action, put before the confirmations at the end.
    const auto settingsAction = [&](const std::string& path) {
        std::string settings = test::ReadBytes(folder.Settings());
        settings.insert(settings.find("[DEFAULT_SET_RUN]\n") + 18,
                        "AfterRun=1\nAfterPath=" + path + "\n");
        test::WriteBytes(folder.Settings(), settings);
    };
    settingsAction(media);
    Expect(0, "plan --media-size 1000 --json data");
    EXPECT_FALSE(fs::exists(media)) << "a plan not kept has no action";
    for (const auto& [args, status] : {std::pair{"", 0}, {"", 1}, {" --force", 0}}) {
        Expect(status, std::string("plan --media-size 1000 --save p.mtb") + args + " data",
               status ? "p_01': exists already (--force replaces it)" : "wrote " + media + "/p_01");
        EXPECT_TRUE(fs::exists(media + "/p_01/SHA256SUMS"));
    }
    Expect(1, "run p.mtb", "p_01': exists already (--force replaces it)");
    settingsAction(media + "4");
    MakeFile("a", 5);
    Expect(1, "plan --sizes - --media-size 1000 --save s.mtb",
           "'a': is a name, not a file's full path", "5 a\n");
    EXPECT_FALSE(fs::exists(media + "4"));
}

// Progress goes to a terminal only, and --quiet keeps it away there too.
TEST_F(CliTest, ProgressShowsOnlyOnATerminal) {
    MakeFile("data/a", 10);
    Expect(0, "plan --media-size 1000000 --fs-allowance none --save p.mtb data");
    const std::pair<std::string, Texts> commands[] = {
        {"plan --fs-allowance none data",
         {"looking at the files: 1 entries, 10 bytes", "medium 1: "}},
        {"export --format iso --force --to media p.mtb", {"\x1b[Kmedium 1 of 1 (p_01.iso): "}},
        {"verify --medium 1 p.mtb media/p_01.iso", {"\x1b[Kverifying medium 1 of 1: "}}};
    for (const auto& [command, shown] : commands) {
        for (const std::string quiet : {"", " --quiet"}) {
            ASSERT_EQ(std::system(("cd " + folder.Path() + " && script -qec '" + program + " " +
                                   command + quiet + " >/dev/null' /dev/null >terminal 2>&1")
                                      .c_str()),
                      0);
            const std::string screen = test::ReadBytes(folder.File("terminal"));
            for (const std::string& text : shown)
                EXPECT_EQ(screen.find(text) != std::string::npos, quiet.empty())
                    << command << quiet << ": " << screen;
        }
        EXPECT_EQ(Cli(command).err, "") << "no terminal, no progress";
    }
}

// Ctrl+C and SIGTERM during a search that would run for hours: the program
// ends at once, the saved project is as it was, and no temporary file stays.
TEST_F(CliTest, StopSignalsEndTheRunAtOnceAndLeaveNothingBehind) {
    // Even sizes and an odd capacity: no combination ever comes close enough,
    // so without the signal the first medium's search goes on for hours.
    std::string list;
    for (int i = 0; i < 200; ++i)
        list += std::to_string(2 * (1000 + 7 * i)) + " f" + std::to_string(i) + "\n";
    test::WriteBytes(folder.File("list"), list);
    Expect(0, "plan --sizes - --media-size 1000 --save p.mtb", "", "400 a\n300 b\n");
    const std::string saved = test::ReadBytes(project);
    for (const int signal : {SIGINT, SIGTERM}) {
        for (const std::string args : {"", " --fast", " --save p.mtb", " --fast --save p.mtb"}) {
            const std::string plan =
                "plan --sizes list --media-size 30001 --tolerance 0 --medium-time-limit 0" + args;
            EXPECT_EQ(Signalled(plan, signal), 128 + signal) << plan;
            EXPECT_TRUE(fs::is_empty(folder.File("tmp"))) << plan;
            EXPECT_EQ(test::ReadBytes(project), saved) << plan;
            for (const auto& entry : fs::directory_iterator(folder.Path()))
                EXPECT_EQ(entry.path().string().find(".mtb."), std::string::npos)
                    << entry.path() << " after " << plan;
        }
    }
}

// A stop during the after-run export comes after the plan took the project's
// place: the message says that the project holds it, and the export leaves
// nothing.
TEST_F(CliTest, AStopDuringTheAfterRunExportSaysThePlanWasKept) {
    AddSettings("AfterRun=1\nAfterPath=" + folder.File("media") + "\n");
    // Files without blocks whose checksums take a while all the same.
    for (int i = 0; i < 40; ++i)
        fs::resize_file(MakeFile("data/f" + std::to_string(i), 0), 100 << 20);
    EXPECT_EQ(Signalled("plan --media-size 9000000000 --save p.mtb data", SIGINT,
                        "after the run: writing"),
              130);
    const Result r{130, "", test::ReadBytes(folder.File("err"))};
    EXPECT_TRUE(
        r.Says("stopped by SIGINT during the after-run export; the project holds the new "
               "plan"));
    EXPECT_EQ(Rows(project, "SELECT DISTINCT CDNUMBER FROM MainDB"), Texts{"1"});
    EXPECT_FALSE(fs::exists(folder.File("media/p_01")));
}

// A medium is found by itself and checked byte for byte against a project of
// every kind of thing a medium can hold.
class VerifyTest : public CliTest {
  protected:
    // Medium 1: a file, an empty file, an empty folder, a folder of only empty
    // files and a link to a file; medium 2: links to a folder and to nowhere,
    // names with a line break and with a byte that is no UTF-8, a bigger file.
    VerifyTest() {
        const std::pair<const char*, int> files[] = {
            {"a.txt", 5},           {"empty.txt", 0},   {"zeros/z1", 0},      {"zeros/z2", 0},
            {"sub/line\nbreak", 2}, {"sub/bad\xff", 3}, {"sub/big.bin", 3000}};
        for (const auto& [name, size] : files)
            MakeFile("tree/" + std::string(name), size);
        fs::create_directories(folder.File("tree/empty"));
        fs::create_symlink("a.txt", folder.File("tree/to-file"));
        fs::create_symlink("sub", folder.File("tree/to-folder"));
        fs::create_symlink("/nowhere", folder.File("tree/dangling"));
        const std::vector<ProjectItem> items{
            {InTree("a.txt"), 1, {{InTree("a.txt"), 5}}},
            {InTree("empty.txt"), 1, {{InTree("empty.txt"), 0}}},
            {InTree("empty"), 1, {{InTree("empty"), 0}}},
            {"zeros", 1, {{InTree("zeros/z1"), 0}, {InTree("zeros/z2"), 0}}},
            {InTree("to-file"), 1, {{InTree("to-file"), 5}}},
            {"odd", 2, {{InTree("to-folder"), 3}, {InTree("dangling"), 8}}},
            {"names", 2, {{InTree("sub/line\nbreak"), 2}, {InTree("sub/bad\xff"), 3}}},
            {InTree("sub/big.bin"), 2, {{InTree("sub/big.bin"), 3000}}},
        };
        RunSettings settings;
        settings.MediaSize = "1000000";
        EXPECT_TRUE(ProjectFile::Write(project, items, settings));
    }

    std::string InTree(const std::string& name) const { return folder.File("tree/" + name); }
    // Unpacks an image into a folder of its own, which the test may change.
    std::string Unpack(const std::string& image) {
        const std::string into = folder.File(image + ".unpacked");
        EXPECT_EQ(std::system(("xorriso -no_rc -osirrox on -indev " + folder.File(image) +
                               " -extract / " + into + " >/dev/null 2>&1 && chmod -R u+w " + into)
                                  .c_str()),
                  0);
        return into;
    }
};

// An image and a link folder as exported pass; one changed byte, a missing
// and an extra file are each named and fail. Once the sources are gone, the
// medium's SHA256SUMS stands for them.
TEST_F(VerifyTest, VerifyNamesEachDifferenceAndPassesOnlyAnExactMedium) {
    Expect(0, "export --format iso --to media p.mtb");
    Expect(0, "export --format links --to media p.mtb");
    Result r = Expect(0, "verify p.mtb media/p_02.iso");
    EXPECT_EQ(r.out, "'media/p_02.iso' is medium 2 of 2, exactly as planned\n");
    EXPECT_EQ(r.err, "");
    Expect(0, "verify p.mtb media/p_01");

    const std::string copy = Unpack("media/p_02.iso");
    test::WriteBytes(copy + "/sub/big.bin", std::string(2999, 'x') + "y");
    fs::remove(copy + "/sub/bad\xff");
    test::WriteBytes(copy + "/sub/extra.txt", "");
    EXPECT_EQ(Expect(1, "verify p.mtb " + copy).out,
              "missing: sub/bad\\udcff\n"
              "content differs: sub/big.bin (its SHA-256 differs from the source's)\n"
              "extra: sub/extra.txt (a file)\n"
              "'" +
                  copy + "' is medium 2 of 2 with 3 difference(s) from the plan\n");
    r = Expect(1, "verify p.mtb media/p_01.iso --medium 2", "missing: sub/big.bin\n");
    EXPECT_TRUE(r.Says("extra: a.txt (a file)\n"));
    test::WriteBytes(folder.File("media/text.iso"), std::string(40000, 't'));
    Expect(1, "verify p.mtb media/none");
    Expect(1, "verify p.mtb media --medium 3");
    EXPECT_EQ(Expect(1, "verify p.mtb media/text.iso").err,
              "zarvopack-cli: 'media/text.iso': is no ISO 9660 image\n");
    fs::rename(InTree("sub/big.bin"), folder.File("big.bin"));
    fs::rename(InTree("sub/line\nbreak"), folder.File("line"));
    EXPECT_EQ(Expect(0, "verify p.mtb media/p_02.iso").err,
              "zarvopack-cli: 2 source file(s) of the plan have gone; the medium's SHA256SUMS "
              "and the planned sizes stand for them\n");
    Expect(1, "verify p.mtb " + copy,
           "content differs: sub/big.bin (its SHA-256 differs from the one SHA256SUMS lists)\n");
}

// Exported as a user who owns none of the files, Linux refuses the hard
// links; the link folder then holds symbolic links, or copies with --copy,
// and says which.
TEST_F(VerifyTest, RefusedHardLinksAreSaidSo) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    fs::create_directories(folder.File("media"));
    fs::permissions(folder.File("media"), fs::perms::all);
    WithoutPrivileges();
    for (const std::string copy : {"", "--copy "}) {
        Expect(0, "export --format links --force --to media " + copy + "p.mtb",
               copy.empty() ? "could not be hard-linked (Operation not permitted, first '" +
                                  InTree("a.txt") + "'); they are symbolic links"
                            : "they are copies");
    }
}

// As installed: the program in a read-only bin folder, its shipped defaults in
// share/zarvopack, run by a user with an empty home; or as a portable copy,
// its settings file beside it.
class InstalledCliTest : public CliTest {
  protected:
    InstalledCliTest() {
        for (const char* sub : {"prefix/bin", "prefix/share/zarvopack", "home", "tmp"})
            fs::create_directories(folder.File(sub));
        program = Bin("zarvopack-cli");
        fs::copy_file(ZV_CLI_PROGRAM, program);
        fs::copy_file(ZV_SHIPPED_SETTINGS, folder.File("prefix/share/zarvopack/zarvopack.dat"));
        runner = "env -i PATH=/usr/bin:/bin HOME=" + folder.File("home") +
                 " TMPDIR=" + folder.File("tmp") + " ";
        WithoutPrivileges();
        for (const char* sub : {"home", "tmp"})
            static_cast<void>(::chown(folder.File(sub).c_str(), 65534, 65534));
    }

    std::string Bin(const std::string& name) const { return folder.File("prefix/bin/" + name); }
};

// The first start gives the user a copy of the shipped defaults, which count
// from then on as the user changes them; nothing is left in the temporary
// folder nor beside the program. A settings file beside the program makes a
// portable copy, and nothing is made in the user's folder.
TEST_F(InstalledCliTest, SettingsAreTheUsersOwnOrBesideAPortableProgram) {
    const std::string settings = folder.File("home/.config/zarvopack/zarvopack.dat");
    Expect(0, "--help", "settings file: " + settings + " (the user's own)");
    EXPECT_FALSE(fs::exists(settings)) << "help changes nothing";
    const std::string plan = "plan --sizes - --tolerance 0 --fs-allowance none";
    EXPECT_EQ(Expect(0, plan + " --media-size 700", "", "400 a\n300 b\n").err, "");
    EXPECT_EQ(test::ReadBytes(settings), test::ReadBytes(ZV_SHIPPED_SETTINGS));
    EXPECT_FALSE(fs::exists(folder.File("home/.cache/zarvopack"))) << "a plan not kept";
    EXPECT_TRUE(fs::is_empty(folder.File("tmp")));
    EXPECT_EQ(fs::directory_iterator(folder.File("prefix/bin"))->path(), program);
    const std::string sizes =
        "[MSizeSet]\n0=Small#500\n[DEFAULT_SET_RUN]\nMediaSize=Small\n"
        "DiffSize=0\nMediaNum=32766\nMaxFile=32766\nMinFile=0\nMaxSpeed=0\n";
    test::WriteBytes(settings, sizes);
    Expect(0, plan, "2 media, 700 bytes placed", "400 a\n300 b\n");

    fs::remove_all(folder.File("home/.config"));
    test::WriteBytes(Bin("zarvopack.dat"), std::regex_replace(sizes, std::regex("500"), "700"));
    Expect(0, "--help",
           "settings file: " + Bin("zarvopack.dat") + " (beside the program: a portable copy)");
    Expect(0, plan, "1 medium, 700 bytes placed", "400 a\n300 b\n");
    EXPECT_FALSE(fs::exists(folder.File("home/.config")));
}

}  // namespace
}  // namespace zv
