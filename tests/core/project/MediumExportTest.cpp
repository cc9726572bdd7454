#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <tuple>

#include "core/platform/FileOps.h"
#include "core/project/ExportManifest.h"
#include "core/project/ExportRequest.h"
#include "core/project/IsoImage.h"
#include "core/project/MediumExport.h"
#include "core/project/Sha256.h"
#include "tests/core/project/DocumentTest.h"
#include "tests/support/FaultyFiles.h"

namespace zv {
namespace {

namespace fs = std::filesystem;
using Files = std::set<std::string>;
using namespace test;

// The exit status of a shell command; temporary folders need no quoting.
int Shell(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Files FilesBelow(const fs::path& root) {
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_directory())
            files.insert(entry.path().lexically_relative(root).generic_string());
    }
    return files;
}

// The path a failed export names, "" when it succeeds.
std::string FailedPath(const auto& act) {
    try {
        act();
    } catch (const MediumExportError& error) {
        return error.Path();
    }
    return "";
}

// Media 1 and 2 hold files with names a shell, a list or a catalog must quote.
const Files kMedia[] = {
    {"photos/a b.txt", "photos/q\"uote's.txt"},
    {"docs/x=y.txt", "docs/back\\slash.txt", "docs/日本語.txt", "docs/sub/deep, comma.txt"},
};

class MediumExportTest : public ::testing::Test {
  protected:
    MediumExportTest() {
        items = {{"Photos", 1, {{Make("photos/a b.txt"), 0}, {Make("photos/q\"uote's.txt"), 0}}},
                 {Make("docs/x=y.txt"), 2, {{Make("docs/x=y.txt"), 0}}},
                 {"Docs", 2, {{Make("docs/back\\slash.txt"), 0}, {Make("docs/日本語.txt"), 0}}},
                 {"Unplaced", 0, {{folder.File("elsewhere.txt"), 0}}}};
        items[2].members.push_back({Make("docs/sub/deep, comma.txt"), 0});
    }

    // Every file holds its own name, so a link to the wrong file shows.
    std::string Make(const std::string& name) {
        fs::create_directories(fs::path(Src(name)).parent_path());
        test::WriteBytes(Src(name), name);
        return Src(name);
    }

    std::string Src(const std::string& name) const { return folder.Path() + "/src/" + name; }

    std::vector<std::string> Export(ExportFormat format, bool force = false,
                                    const ExportProgress& progress = {},
                                    double capacity = 1'000'000) {
        return ExportMedia(items, "Proj", out, format, force, progress, capacity);
    }

    // Options that collect what the export says besides.
    ExportOptions Noting(bool copy = false) {
        return {"", copy, [this](const std::string& n) { notices.push_back(n); }};
    }

    test::TempFolder folder;
    std::string out = folder.File("out");
    std::vector<ProjectItem> items;
    std::vector<std::string> notices;
};

// What a tree holds, looked at without following links: "name bytes" for a
// file, "name/" for an empty folder, "name -> target" for a link.
Files TreeBelow(const fs::path& root) {
    Files tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = entry.path().lexically_relative(root).generic_string();
        if (entry.is_symlink()) {
            tree.insert(name + " -> " + fs::read_symlink(entry.path()).string());
        } else if (entry.is_directory()) {
            if (fs::is_empty(entry.path()))
                tree.insert(name + "/");
        } else if (name == "SHA256SUMS") {
            EXPECT_EQ(Shell("cd " + root.string() + " && sha256sum --strict -c SHA256SUMS"), 0)
                << root;
        } else {
            tree.insert(name + " " + test::ReadBytes(entry.path().string()));
        }
    }
    return tree;
}

// A medium in every form the export gives it holds `expected` and a
// SHA256SUMS that checks: its link folder, its image unpacked, and an image
// xorriso makes of its path list (fed to it as its -pathspecs take it; the
// list names no SHA256SUMS).
void ExpectEveryFormHolds(const std::string& medium, const Files& expected,
                          const std::string& scratch) {
    EXPECT_EQ(Shell("xorriso -no_rc -backslash_codes with_quoted_input -as mkisofs -o " + scratch +
                    ".iso -r -J -graft-points --quoted_path_list " + medium + ".quoted_path_list"),
              0);
    for (const std::string& image : {medium + ".iso", scratch + ".iso"})
        EXPECT_EQ(
            Shell("xorriso -no_rc -osirrox on -indev " + image + " -extract / " + image + ".d"), 0);
    for (const std::string& tree : {medium, medium + ".iso.d", scratch + ".iso.d"}) {
        EXPECT_EQ(TreeBelow(tree), expected) << tree;
        EXPECT_EQ(fs::exists(tree + "/SHA256SUMS"), tree != scratch + ".iso.d") << tree;
    }
}

// The image's own digest lies beside it; the ISO 9660 and the Joliet volume
// ids name the medium.
TEST_F(MediumExportTest, EveryFormatHoldsEachMediumsFilesAndChecksWithSha256sum) {
    EXPECT_EQ(Export(ExportFormat::Links),
              (std::vector<std::string>{out + "/Proj_01", out + "/Proj_02"}));
    Export(ExportFormat::Lists);
    EXPECT_EQ(Export(ExportFormat::Iso),
              (std::vector<std::string>{out + "/Proj_01.iso", out + "/Proj_01.iso.sha256",
                                        out + "/Proj_02.iso", out + "/Proj_02.iso.sha256"}));
    EXPECT_EQ(FilesBelow(out).size(), 17u)
        << "nothing but the two media in each format and the manifests";
    for (int m = 0; m < 2; ++m) {
        const std::string name = out + "/Proj_0" + std::to_string(m + 1);
        Files expected;
        for (const std::string& file : kMedia[m]) {
            expected.insert(file + " " + file);
            EXPECT_TRUE(fs::equivalent(name + "/" + file, Src(file))) << "a hard link: " << file;
        }
        ExpectEveryFormHolds(name, expected, folder.File("list" + std::to_string(m)));
        EXPECT_EQ(Shell("cd " + out + " && sha256sum --strict -c " + name + ".iso.sha256"), 0);
    }
    EXPECT_EQ(Shell("xorriso -no_rc -indev " + out +
                    "/Proj_01.iso -pvd_info 2>&1 | grep -q 'Volume Id    : PROJ_01'"),
              0);
    // What desktops show comes from the Joliet descriptor.
    EXPECT_EQ(Shell("blkid -p -o value -s LABEL " + out + "/Proj_01.iso | grep -qx Proj_01"), 0);
}

// Names no path list line could hold, an empty folder, a folder of only
// empty files and links of every kind reach each format's medium as they are.
TEST_F(MediumExportTest, AnyNameEmptyFoldersAndLinksReachEveryFormat) {
    const std::string odd[] = {"line\nbreak", "not utf-8 \xff\xfe", "-dash",
                               "=equals",     "quote\"'s",          "back\\slash\\",
                               "star*",       "cr\rturn",           std::string(255, 'L')};
    items = {{"Odd", 1, {}}};
    for (const std::string& name : odd)
        items[0].members.push_back({Make("m/" + name), 0});
    fs::create_directories(Src("m/empty"));
    Make("m/zeros/z1");
    test::WriteBytes(Src("m/zeros/z1"), "");
    fs::create_symlink("-dash", Src("m/to file"));
    fs::create_symlink("empty", Src("m/to folder"));
    fs::create_symlink("/nowhere", Src("m/dangling"));
    for (const char* name : {"empty", "zeros/z1", "to file", "to folder", "dangling"})
        items[0].members.push_back({Src(std::string("m/") + name), 0});
    const Files expected = TreeBelow(Src("m"));
    for (const ExportFormat format : {ExportFormat::Links, ExportFormat::Lists, ExportFormat::Iso})
        Export(format);
    ExpectEveryFormHolds(out + "/Proj_01", expected, folder.File("fromList"));
}

// A file others may not read makes every output that holds it, or names it,
// readable by its owner only, and says so.
TEST_F(MediumExportTest, OutputsAreNoMoreReadableThanWhatTheyHold) {
    fs::permissions(Src("docs/日本語.txt"), fs::perms(0600));
    fs::permissions(Src("photos/a b.txt"), fs::perms(0640));
    const mode_t umask = ::umask(022);
    for (const ExportFormat format :
         {ExportFormat::Links, ExportFormat::Lists, ExportFormat::Catalog, ExportFormat::Iso})
        ExportMedia(items, "Proj", out, format, false, {}, 1e9, Noting());
    ::umask(umask);
    std::vector<std::pair<std::string, int>> modes{{"Proj_catalog.csv", 0600},
                                                   {"Proj_links.manifest", 0600},
                                                   {"Proj_02/docs/日本語.txt", 0600}};
    for (const char* output : {"/SHA256SUMS", ".quoted_path_list", ".iso", ".iso.sha256"}) {
        modes.push_back({"Proj_01" + std::string(output), 0640});
        modes.push_back({"Proj_02" + std::string(output), 0600});
    }
    for (const auto& [name, mode] : modes)
        EXPECT_EQ(static_cast<int>(fs::status(out + "/" + name).permissions()), mode) << name;
    EXPECT_NE(std::find(notices.begin(), notices.end(),
                        "'Proj_02.iso' is made with mode 0600, readable by its owner only: it "
                        "holds what not everyone may read, such as '" +
                            Src("docs/日本語.txt") + "'"),
              notices.end())
        << testing::PrintToString(notices);
}

// A disk that refuses hard links, as Linux does for another user's file.
struct NoHardLinks : FileOps {
    int Link(const char*, const char*) override {
        errno = EPERM;
        return -1;
    }
};

TEST_F(MediumExportTest, ARefusedHardLinkBecomesASymbolicLinkOrACopy) {
    NoHardLinks disk;
    const FileOpsScope scope(disk);
    for (const bool copy : {false, true}) {
        notices.clear();
        ExportMedia(items, "Proj", out, ExportFormat::Links, true, {}, 0, Noting(copy));
        const fs::path file = out + "/Proj_02/docs/x=y.txt";
        EXPECT_EQ(fs::is_symlink(file), !copy);
        EXPECT_EQ(test::ReadBytes(file.string()), "docs/x=y.txt");
        EXPECT_FALSE(fs::equivalent(file, Src("docs/x=y.txt")) && copy);
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0],
                  "6 file(s) could not be hard-linked (Operation not permitted, first '" +
                      Src("photos/a b.txt") + "'); " +
                      (copy ? "they are copies"
                            : "they are symbolic links to their files (--copy "
                              "copies them)"));
    }
}

// One row a member with its digest, LF line ends, names escaped as the JSON
// output escapes them (a byte that is no UTF-8 as \udcXX) and quoted as CSV;
// the unplaced members last with their full paths.
TEST_F(MediumExportTest, CatalogListsEveryMemberWithItsDigest) {
    items[0].members[1].path = Make("photos/say \"hi\"\xff");
    items[1].members.push_back({Make("docs/line\nbreak"), 0});
    EXPECT_EQ(Export(ExportFormat::Catalog), std::vector<std::string>{out + "/Proj_catalog.csv"});
    std::string csv = test::ReadBytes(out + "/Proj_catalog.csv");
    // The digests are checked apart from the rest: each is the file's own.
    for (size_t at = 0; (at = csv.find(",file,", at)) != std::string::npos; ++at) {
        const size_t digest = csv.find(',', at + 6) + 1;
        EXPECT_EQ(csv.substr(digest, 64).find_first_not_of("0123456789abcdef"), std::string::npos);
        csv.replace(digest, 64, "H");
    }
    EXPECT_EQ(csv,
              "medium,path,kind,size,sha256,link_target\n"
              "1,photos/a b.txt,file,14,H,\n"
              "1,\"photos/say \\\"\"hi\\\"\"\\udcff\",file,16,H,\n"
              "2,docs/x=y.txt,file,12,H,\n"
              "2,docs/line\\nbreak,file,15,H,\n"
              "2,docs/back\\\\slash.txt,file,19,H,\n"
              "2,docs/日本語.txt,file,18,H,\n"
              "2,\"docs/sub/deep, comma.txt\",file,24,H,\n"
              "unplaced," +
                  folder.File("elsewhere.txt") + ",,,,\n");
}

// Without a manifest that names it, nothing in the way is replaced, even with
// force; with one, exactly what the earlier export wrote goes, the media it
// no longer writes included, and nothing the user put there.
TEST_F(MediumExportTest, AForcedExportReplacesOnlyWhatTheEarlierExportWrote) {
    const fs::path medium = out + "/Proj_02";
    fs::create_directories(medium);
    test::WriteBytes((medium / "old.txt").string(), "old");
    EXPECT_EQ(FailedPath([&] { Export(ExportFormat::Links); }), medium.string());
    EXPECT_EQ(FailedPath([&] { Export(ExportFormat::Links, true); }), medium.string());
    EXPECT_EQ(FilesBelow(out), Files{"Proj_02/old.txt"});
    fs::remove_all(medium);

    items.push_back({"Third", 3, {{Make("third/t.txt"), 0}}});
    Export(ExportFormat::Links);
    test::WriteBytes(out + "/mine.txt", "mine");
    items.pop_back();
    EXPECT_EQ(ExportMedia(items, "Proj", out, ExportFormat::Links, true, {}, 0, Noting()).size(),
              2u);
    EXPECT_FALSE(fs::exists(out + "/Proj_03"));
    EXPECT_EQ(notices, std::vector<std::string>{"removed '" + out +
                                                "/Proj_03', which the earlier "
                                                "export of this project wrote"});
    EXPECT_EQ(test::ReadBytes(out + "/mine.txt"), "mine");
    EXPECT_EQ(test::ReadBytes(Src("third/t.txt")), "third/t.txt");

    // Another project of the same name exported there: nothing of it is replaced.
    EXPECT_EQ(FailedPath([&] {
                  ExportMedia(items, "Proj", out, ExportFormat::Links, true, {}, 0,
                              {folder.File("other/Proj.mtb"), false, {}});
              }),
              out + "/Proj_links.manifest");

    test::WriteBytes(out + "/Proj_01/photos/mine.txt", "mine");
    EXPECT_EQ(FailedPath([&] { Export(ExportFormat::Links, true); }),
              out + "/Proj_01/photos/mine.txt");
    EXPECT_EQ(test::ReadBytes(out + "/Proj_01/photos/mine.txt"), "mine");
}

// "--to ." and the like: a relative target is a full path in every check, so
// a folder of the medium's name that holds the sources is never replaced.
TEST_F(MediumExportTest, ARelativeTargetHoldingTheSourcesIsLeftAlone) {
    const std::string cwd = fs::current_path();
    fs::current_path(folder.Path());
    fs::rename(folder.File("src"), folder.File("Proj_01"));
    for (auto& item : items) {
        for (auto& member : item.members)
            member.path = "Proj_01/" + fs::path(member.path).lexically_relative(Src("")).string();
    }
    const std::string failed =
        FailedPath([&] { ExportMedia(items, "Proj", ".", ExportFormat::Links, true); });
    fs::current_path(cwd);
    EXPECT_EQ(failed, folder.File("Proj_01"));
    EXPECT_EQ(test::ReadBytes(folder.File("Proj_01/docs/x=y.txt")), "docs/x=y.txt");
}

// A missing source file stops every format before it writes; a file named
// like the catalog stops the export after the first medium is built, and what
// was built goes again.
TEST_F(MediumExportTest, AFailureLeavesNothingBehind) {
    items[1].members[0].path = Make("SHA256SUMS");
    EXPECT_EQ(FailedPath([&] { Export(ExportFormat::Links); }), Src("SHA256SUMS"));
    EXPECT_TRUE(fs::is_empty(out));
    EXPECT_EQ(test::ReadBytes(Src("SHA256SUMS")), "SHA256SUMS");
    fs::remove_all(out);
    // A folder planned empty that holds a file now would bring it along.
    items.push_back({"Empty", 1, {{Src("grown"), 0}}});
    Make("grown/late.txt");
    EXPECT_EQ(FailedPath([&] { Export(ExportFormat::Iso); }), Src("grown"));
    EXPECT_FALSE(fs::exists(out));
    items.pop_back();
    fs::remove(Src("docs/日本語.txt"));
    for (const ExportFormat format :
         {ExportFormat::Links, ExportFormat::Lists, ExportFormat::Catalog, ExportFormat::Iso}) {
        EXPECT_EQ(FailedPath([&] { Export(format); }), Src("docs/日本語.txt"));
        EXPECT_FALSE(fs::exists(out));
    }
}

// An image that does not fit, a missing xorriso and a cancel each end the
// export with nothing of it left.
TEST_F(MediumExportTest, AFailedImageLeavesNothing) {
    const std::string searchPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    int reports = 0;
    const ExportProgress none,
        cancelSoon{[&](const std::string&, double) { ++reports; }, [&] { return reports < 3; }};
    // capacity, PATH, progress, what the export says ("" for a cancel)
    const std::tuple<double, std::string, const ExportProgress&, std::string> cases[] = {
        {100'000, searchPath, none, "bytes, more than the medium's capacity of 100000"},
        {1e9, folder.Path(), none, "'xorriso': is not installed"},
        {1e9, searchPath, cancelSoon, ""},
    };
    for (const auto& [capacity, path, progress, says] : cases) {
        setenv("PATH", path.c_str(), 1);
        std::string message = "exported";
        try {
            Export(ExportFormat::Iso, false, progress, capacity);
        } catch (const MediumExportError& error) {
            message = error.what();
        } catch (const ExportCancelled&) {
            message = "";
        }
        setenv("PATH", searchPath.c_str(), 1);
        EXPECT_NE(message.find(says), std::string::npos) << message;
        EXPECT_EQ(message.empty(), says.empty()) << message;
        EXPECT_TRUE(fs::is_empty(out)) << says;
    }
}

// Whichever call of the disk fails, the export says where and why, and the
// earlier output stays as it was with nothing half written beside it; a
// failure once the outputs are in place fails nothing.
TEST_F(MediumExportTest, AFailingDiskLeavesTheEarlierOutput) {
    const std::vector<ProjectItem> before = items;
    const std::vector<ProjectItem> after(items.begin(), items.end() - 1);
    const std::string catalog = out + "/Proj_catalog.csv";
    ExportMedia(after, "Proj", folder.File("fresh"), ExportFormat::Catalog, false);
    const std::string fresh = test::ReadBytes(folder.File("fresh/Proj_catalog.csv"));
    for (int failAt = 1;; ++failAt) {
        fs::remove_all(out);
        ExportMedia(before, "Proj", out, ExportFormat::Catalog, false);
        const std::string earlier = test::ReadBytes(catalog);
        test::FaultyFiles disk(failAt, test::kDiskErrors[failAt % 3]);
        const std::string failed =
            FailedPath([&] { ExportMedia(after, "Proj", out, ExportFormat::Catalog, true); });
        EXPECT_EQ(FilesBelow(out), (Files{"Proj_catalog.csv", "Proj_catalog.manifest"}));
        if (!disk.Failed())
            break;
        if (failed.empty()) {
            EXPECT_EQ(test::ReadBytes(catalog), fresh) << disk.FailedCall();
        } else {
            EXPECT_EQ(failed.rfind(out + "/Proj_catalog.", 0), 0u) << disk.FailedCall();
            EXPECT_EQ(test::ReadBytes(catalog), earlier) << disk.FailedCall();
        }
    }
}

TEST(ExportManifestTest, KeepsAnyNameAndTakesNothingElseForAManifest) {
    const ExportManifest manifest{"/p/a\\b.mtb",
                                  ExportFormat::Iso,
                                  {"p_01/", "p_01/line\nbreak", "p_01/back\\slash\\n", "p_02.iso"},
                                  {"/x\ny"}};
    const std::optional<ExportManifest> read = ExportManifest::Parse(manifest.Text());
    ASSERT_TRUE(read);
    EXPECT_EQ(std::tie(read->project, read->format, read->written, read->unplaced),
              std::tie(manifest.project, manifest.format, manifest.written, manifest.unplaced));
    const std::string heading = "zarvopack export manifest 1\n";
    for (const std::string& text : std::vector<std::string>{
             "", "medium,path\n", heading, heading + "format links\nremove /etc\n",
             heading + "format links\nwrote a\\q\n", heading + "format tar\n"})
        EXPECT_FALSE(ExportManifest::Parse(text)) << text;
}

// Each id keeps the medium's number whole; the ISO 9660 one keeps what its
// letters allow, the Joliet one the name as it is typed.
TEST(VolumeIdTest, BothIdsKeepTheNameAsFarAsTheirLettersAllow) {
    // project, medium, ISO 9660 id, Joliet id
    const std::tuple<std::string, int, std::string, std::string> cases[] = {
        {"Proj", 1, "PROJ_01", "Proj_01"},
        {"my photos (2024)", 12, "MY_PHOTOS_2024_12", "my photos (20_12"},
        {"無題1", 1, "ZARVOPACK_01", "無題1_01"},
        {"写真", 3, "ZARVOPACK_03", "写真_03"},
        {"ｐｈｏｔｏ　２０２４", 2, "PHOTO_2024_02", "ｐｈｏｔｏ　２０２４_02"},
        {"2024", 4, "2024_04", "2024_04"},
        {"Urlaub Wörthersee", 5, "URLAUB_W_RTHERSEE_05", "Urlaub Wörthe_05"},
        {"a:b?c*", 6, "A_B_C_06", "a_b_c_06"},
        {"\xF0\x9F\x93\xB7 \x01", 7, "ZARVOPACK_07", "Zarvopack_07"},
        {"", 8, "ZARVOPACK_08", "Zarvopack_08"},
        {"a_very_long_project_name_for_the_archive", 32766, "A_VERY_LONG_PROJECT_NAME_F_32766",
         "a_very_lon_32766"},
    };
    for (const auto& [project, medium, iso, joliet] : cases) {
        const VolumeIds ids = VolumeIdsFor(project, medium);
        EXPECT_EQ(ids.iso + "|" + ids.joliet, iso + "|" + joliet) << project;
    }
}

std::string Digest(const std::string& bytes, size_t piece) {
    Sha256 hash;
    for (size_t at = 0; at < bytes.size(); at += piece)
        hash.Add(std::string_view(bytes).substr(at, piece));
    return hash.HexDigest();
}

// Known digests, lengths around the block and padding boundaries among them,
// fed in any pieces.
TEST(Sha256Test, KnownVectorsInAnyPieces) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [bytes, hex] : cases) {
        for (const size_t piece : {size_t{1}, size_t{63}, size_t{64}, size_t{1000}})
            EXPECT_EQ(Digest(bytes, piece), hex) << bytes.size() << " in " << piece;
    }
}

// Records what an export shows while it writes; cancels at once when told to.
struct RecordingWatcher : ExportWatcher {
    RecordingWatcher(const ScriptedUi& ui, bool cancel) : ui(ui), cancel(cancel) {}
    void Progress(const std::string& output, double done) override {
        EXPECT_GE(done, last);
        last = done;
        outputs.push_back(output);
    }
    bool KeepGoing() override { return !cancel; }
    void Ended() override { boxesAtEnd.push_back(ui.Boxes().size()); }

    const ScriptedUi& ui;
    bool cancel;
    double last = 0;
    std::vector<std::string> outputs;
    std::vector<std::size_t> boxesAtEnd;
};

// A saved project "写真" of seven files placed on media 1 to 6 and 12.
class ExportRequestTest : public DocumentTest {
  protected:
    ExportRequestTest() {
        for (int i = 0; i < 7; ++i) {
            Add(project, {MakeFile("f" + std::to_string(i + 1), 10)});
            project.Items()[i].Medium = static_cast<int16_t>(i < 6 ? i + 1 : 12);
        }
        project.SetFilePath(folder.File("写真.mtb"));
    }

    ProjectDocument project;
    std::string out = folder.File("out");
};

// The progress window is gone before the box that names the outputs, the
// files on no medium (they are on no disc) and what the export says besides.
TEST_F(ExportRequestTest, TheBoxNamesTheOutputsAndAnExistingOneIsReplacedOnlyWhenTheUserAgrees) {
    project.Items()[5].Medium = 0;
    fs::permissions(folder.File("f1"), fs::perms(0600));
    const ExportRequest request{ExportFormat::Lists, out};
    RecordingWatcher watcher(ui, false);
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ExportResults(project, request, &watcher), ExportOutcome::Written);
    ExpectLastBox("次のﾌｫﾙﾀﾞに書き出しました\r\n" + out +
                      "\r\n写真_01.quoted_path_list\r\n写真_02.quoted_path_list\r\n"
                      "写真_03.quoted_path_list\r\n写真_04.quoted_path_list\r\n"
                      "写真_05.quoted_path_list\r\nほか1個\r\n\r\n"
                      "次の項目はどのﾒﾃﾞｨｱにも入っていないため、書き出していません：\r\n" +
                      folder.File("f6") +
                      " … ﾒﾃﾞｨｱごとのﾌｧｲﾙ数の制限で入る場所がありません\r\n"
                      "注意：\r\n'写真_01.quoted_path_list' is made with mode 0600, readable by "
                      "its owner only: it holds what not everyone may read, such as '" +
                      folder.File("f1") + "'\r\n",
                  "書き出し", MsgButtons::OK, MsgIcon::Exclamation);
    EXPECT_EQ(watcher.outputs.back(), "写真_12.quoted_path_list");
    EXPECT_EQ(watcher.boxesAtEnd, std::vector<std::size_t>{0});
    const std::string first = out + "/写真_01.quoted_path_list";
    WriteBytes(first, "mine");
    ui.Answer(MsgResult::No);
    EXPECT_EQ(ExportResults(project, request), ExportOutcome::Declined);
    ExpectLastBox(
        "次のﾌｧｲﾙまたはﾌｫﾙﾀﾞは既に存在します\r\n写真_01.quoted_path_list\r\n"
        "書き出し先の同じ名前のものをすべて上書きしますか？",
        "書き出し", MsgButtons::YesNo, MsgIcon::Exclamation, 1);
    EXPECT_EQ(ReadBytes(first), "mine");
    // With nothing to warn of, the box only informs.
    project.Items()[5].Medium = 6;
    fs::permissions(folder.File("f1"), fs::perms(0644));
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ExportResults(project, request), ExportOutcome::Written);
    EXPECT_NE(ReadBytes(first), "mine");
    EXPECT_EQ(ui.Boxes().back().icon, MsgIcon::Information);
}

TEST_F(ExportRequestTest, AFailureIsShownACancelIsNotAndNeitherWritesAnything) {
    RecordingWatcher cancelling(ui, true);
    EXPECT_EQ(ExportResults(project, {ExportFormat::Links, out}, &cancelling),
              ExportOutcome::Cancelled);
    EXPECT_EQ(cancelling.boxesAtEnd, std::vector<std::size_t>{0});
    fs::remove(folder.File("f3"));
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ExportResults(project, {ExportFormat::Links, out}), ExportOutcome::Failed);
    ExpectLastBox("書き出しに失敗しました\r\n'" + folder.File("f3") + "': the file does not exist",
                  "書き出し", MsgButtons::OK, MsgIcon::Critical);
    EXPECT_FALSE(fs::exists(out) && !fs::is_empty(out));

    // Outputs are named after the project file (as above), or the caption of an untitled one.
    project.SetFilePath("");
    project.SetCaption("無題3");
    EXPECT_EQ(ExportProjectName(project), "無題3");
    EXPECT_TRUE(ExportFolderAccepted("/media/burn"));
    EXPECT_FALSE(ExportFolderAccepted("") || ExportFolderAccepted("burn"));
}

}  // namespace
}  // namespace zv
