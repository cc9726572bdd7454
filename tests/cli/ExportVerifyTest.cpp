// Exporting a plan and checking a medium against it as a user does: the real
// program on a tree that holds every kind of thing a medium can hold.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/project/ProjectFile.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;
using Tree = std::set<std::string>;

struct Result {
    int status;
    std::string out;
    std::string err;
};

// What a tree holds, looked at without following links: "name bytes" for a
// file, "name/" for a folder, "name -> target" for a link; the folders that
// hold something are left out, and so is the export's SHA256SUMS.
Tree TreeBelow(const fs::path& root) {
    Tree tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = entry.path().lexically_relative(root).generic_string();
        if (entry.is_symlink()) {
            tree.insert(name + " -> " + fs::read_symlink(entry.path()).string());
        } else if (entry.is_directory()) {
            if (fs::is_empty(entry.path()))
                tree.insert(name + "/");
        } else if (name != "SHA256SUMS") {
            tree.insert(name + " " + test::ReadBytes(entry.path().string()));
        }
    }
    return tree;
}

class ExportVerifyTest : public ::testing::Test {
  protected:
    // Medium 1: a file, an empty file, an empty folder, a folder of only empty
    // files and a link to a file; medium 2: links to a folder and to nowhere,
    // names with a line break and with a byte that is no UTF-8, and a bigger
    // file.
    ExportVerifyTest() {
        fs::copy_file(ZV_CLI_PROGRAM, folder.File("zarvopack-cli"));
        Write("tree/a.txt", "hello");
        Write("tree/empty.txt", "");
        fs::create_directories(folder.File("tree/empty"));
        Write("tree/zeros/z1", "");
        Write("tree/zeros/z2", "");
        Write("tree/sub/line\nbreak", "nl");
        Write("tree/sub/bad\xff", "bad");
        Write("tree/sub/big.bin", std::string(3000, 'b'));
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
        EXPECT_TRUE(ProjectFile::Write(folder.File("p.mtb"), items, settings));
    }

    std::string InTree(const std::string& name) const { return folder.File("tree/" + name); }
    void Write(const std::string& name, const std::string& bytes) {
        fs::create_directories(fs::path(folder.File(name)).parent_path());
        test::WriteBytes(folder.File(name), bytes);
    }

    Result Cli(const std::string& args) {
        const std::string command =
            "cd " + folder.Path() + " && ./zarvopack-cli " + args + " </dev/null >out 2>err";
        const int status = std::system(command.c_str());
        return {WEXITSTATUS(status), test::ReadBytes(folder.File("out")),
                test::ReadBytes(folder.File("err"))};
    }
    int Shell(const std::string& command) {
        const int status =
            std::system(("cd " + folder.Path() + " && " + command + " >/dev/null 2>&1").c_str());
        return WEXITSTATUS(status);
    }
    // Unpacks an image into a folder of its own, which the test may change.
    std::string Unpack(const std::string& image) {
        const std::string into = image + ".unpacked";
        EXPECT_EQ(Shell("xorriso -no_rc -osirrox on -indev " + image + " -extract / " + into), 0);
        Shell("chmod -R u+w " + into);
        return folder.File(into);
    }

    test::TempFolder folder;
};

// A tree planned as a user plans it: each file, empty folder and link is on
// exactly one medium, in every format, and what no disc holds is named.
TEST_F(ExportVerifyTest, EveryThingOfTheTreeIsOnExactlyOneMediumInEveryFormat) {
    ASSERT_EQ(::mkfifo(InTree("fifo").c_str(), 0600), 0);
    const Result plan =
        Cli("plan tree --media-size 1000000 --fs-allowance none --media-count 9 "
            "--max-items 6 --min-items 0 --method fewest --save p.mtb");
    EXPECT_EQ(plan.status, 3) << plan.err;
    EXPECT_NE(plan.err.find("skipped '" + InTree("fifo") + "': it is a FIFO"), std::string::npos)
        << plan.err;
    fs::remove(InTree("fifo"));
    Tree whole = TreeBelow(folder.File("tree"));
    whole.erase("zeros/");
    for (const char* format : {"iso", "links", "lists"}) {
        const Result r = Cli(std::string("export --format ") + format + " --to media p.mtb");
        EXPECT_EQ(r.status, 0) << format << r.err;
    }
    std::map<std::string, std::vector<std::string>> formats;
    for (int medium = 1; fs::exists(folder.File("media/p_0" + std::to_string(medium))); ++medium) {
        const std::string name = "media/p_0" + std::to_string(medium);
        EXPECT_EQ(
            Shell("xorriso -no_rc -backslash_codes with_quoted_input -as mkisofs -o " + name +
                  ".list.iso -r -J -graft-points --quoted_path_list " + name + ".quoted_path_list"),
            0);
        formats["iso"].push_back(Unpack(name + ".iso"));
        formats["links"].push_back(folder.File(name));
        formats["lists"].push_back(Unpack(name + ".list.iso"));
    }
    EXPECT_GE(formats["iso"].size(), 2u);
    for (const auto& [format, media] : formats) {
        std::multiset<std::string> found;
        for (const std::string& medium : media) {
            for (const std::string& entry : TreeBelow(medium))
                found.insert(entry);
        }
        EXPECT_EQ(found, std::multiset<std::string>(whole.begin(), whole.end())) << format;
    }
}

// A medium is found by itself and checked byte for byte: an image and a link
// folder as exported pass; one changed byte, a missing and an extra file are
// each named and fail.
TEST_F(ExportVerifyTest, VerifyNamesEachDifferenceAndPassesOnlyAnExactMedium) {
    ASSERT_EQ(Cli("export --format iso --to media p.mtb").status, 0);
    ASSERT_EQ(Cli("export --format links --to media p.mtb").status, 0);
    Result r = Cli("verify p.mtb media/p_02.iso");
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "'media/p_02.iso' is medium 2 of 2, exactly as planned\n");
    EXPECT_EQ(r.err, "");
    r = Cli("verify p.mtb media/p_01");
    EXPECT_EQ(r.status, 0) << r.out << r.err;

    const std::string copy = Unpack("media/p_02.iso");
    test::WriteBytes(copy + "/sub/big.bin", std::string(2999, 'b') + "c");
    fs::remove(copy + "/sub/bad\xff");
    test::WriteBytes(copy + "/sub/extra.txt", "");
    r = Cli("verify p.mtb " + copy);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "missing: sub/bad\\udcff\n"
              "content differs: sub/big.bin (its SHA-256 differs from the source's)\n"
              "extra: sub/extra.txt (a file)\n"
              "'" +
                  copy + "' is medium 2 of 2 with 3 difference(s) from the plan\n");
    // Once the originals are thrown away, the medium's SHA256SUMS stands for them.
    fs::rename(InTree("sub/big.bin"), folder.File("big.bin"));
    fs::rename(InTree("sub/line\nbreak"), folder.File("line"));
    r = Cli("verify p.mtb media/p_02.iso");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.err,
              "zarvopack-cli: 2 source file(s) of the plan have gone; the medium's SHA256SUMS "
              "and the planned sizes stand for them\n");
    r = Cli("verify p.mtb " + copy);
    EXPECT_NE(r.out.find("content differs: sub/big.bin (its SHA-256 differs from the one "
                         "SHA256SUMS lists)\n"),
              std::string::npos)
        << r.out;
    fs::rename(folder.File("big.bin"), InTree("sub/big.bin"));
    fs::rename(folder.File("line"), InTree("sub/line\nbreak"));

    r = Cli("verify p.mtb media/p_01.iso --medium 2");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("missing: sub/big.bin\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("extra: a.txt (a file)\n"), std::string::npos) << r.out;
    test::WriteBytes(folder.File("media/text.iso"), std::string(40000, 't'));
    for (const char* args : {"verify p.mtb media/none", "verify p.mtb media --medium 3",
                             "verify p.mtb media/text.iso"})
        EXPECT_EQ(Cli(args).status, 1) << args;
    EXPECT_EQ(Cli("verify p.mtb media/text.iso").err,
              "zarvopack-cli: 'media/text.iso': is no ISO 9660 image\n");
    EXPECT_EQ(Cli("verify p.mtb").status, 2);
}

// Exported as a user who owns none of the files, Linux refuses the hard
// links; the link folder then holds symbolic links, or copies with --copy,
// and says which. An image of a file others may not read is private too.
TEST_F(ExportVerifyTest, RefusedHardLinksAndPrivateFilesAreSaidSo) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    fs::permissions(folder.Path(), fs::perms::all, fs::perm_options::add);
    fs::create_directories(folder.File("media"));
    fs::permissions(folder.File("media"), fs::perms::all);
    const std::string nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    for (const bool copy : {false, true}) {
        const std::string command = "cd " + folder.Path() + " && " + nobody +
                                    "./zarvopack-cli export --format links --force --to media " +
                                    (copy ? "--copy " : "") + "p.mtb >/dev/null 2>err";
        EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 0);
        const std::string err = test::ReadBytes(folder.File("err"));
        EXPECT_NE(err.find("file(s) could not be hard-linked (Operation not permitted"),
                  std::string::npos)
            << err;
        EXPECT_NE(err.find(copy ? "they are copies" : "they are symbolic links"), std::string::npos)
            << err;
        EXPECT_EQ(fs::is_symlink(folder.File("media/p_02/sub/big.bin")), !copy);
        EXPECT_EQ(test::ReadBytes(folder.File("media/p_02/sub/big.bin")), std::string(3000, 'b'));
    }
    fs::permissions(InTree("sub/big.bin"), fs::perms(0600));
    const Result r = Cli("export --format iso --to media p.mtb");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(static_cast<int>(fs::status(folder.File("media/p_02.iso")).permissions()), 0600);
    EXPECT_NE(r.err.find("'p_02.iso' is made with mode 0600, readable by its owner only"),
              std::string::npos)
        << r.err;
}

// On a terminal, export and verify say how far they have come, unless told
// to be quiet; elsewhere they never do (the other tests read standard error).
TEST_F(ExportVerifyTest, ProgressShowsOnATerminalOnly) {
    for (const bool quiet : {false, true}) {
        for (const std::string command :
             {"export --format iso --force --to media", "verify --medium 1"}) {
            const std::string args = command + (quiet ? " --quiet" : "") + " p.mtb" +
                                     (command.starts_with("verify") ? " media/p_01.iso" : "");
            EXPECT_EQ(Shell("script -qec './zarvopack-cli " + args + " >/dev/null' terminal"), 0);
            const std::string shown = test::ReadBytes(folder.File("terminal"));
            const std::string expected = command.starts_with("verify")
                                             ? "\x1b[Kverifying medium 1 of 2: "
                                             : "\x1b[Kmedium 1 of 2 (p_01.iso): ";
            EXPECT_EQ(shown.find(expected) != std::string::npos, !quiet) << args << shown;
        }
    }
}

}  // namespace
}  // namespace zv
