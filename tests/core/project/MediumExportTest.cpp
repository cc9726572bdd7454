#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/project/IsoImage.h"
#include "core/project/MediumExport.h"
#include "tests/core/project/XorrisoChecks.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

class MediumExportTest : public ::testing::Test {
  protected:
    MediumExportTest() {
        items = {{"Photos", 1, {{Make("photos/a b.txt"), 0}, {Make("photos/q\"uote's.txt"), 0}}},
                 {Make("docs/x=y.txt"), 2, {{Make("docs/x=y.txt"), 0}}},
                 {"Docs",
                  2,
                  {{Make("docs/back\\slash.txt"), 0},
                   {Make("docs/日本語.txt"), 0},
                   {Make("docs/sub/deep, comma.txt"), 0}}},
                 {"Unplaced", 0, {{folder.File("elsewhere.txt"), 0}}}};
    }

    // Every file holds its own name, so a link to the wrong file shows.
    std::string Make(const std::string& name) {
        const fs::path path = fs::path(folder.Path()) / "src" / name;
        fs::create_directories(path.parent_path());
        test::WriteBytes(path.string(), name);
        return path.string();
    }

    std::vector<std::string> Export(ExportFormat format, bool force = false,
                                    const ExportProgress& progress = {},
                                    double capacity = 1'000'000) {
        return ExportMedia(items, "Proj", out, format, force, progress, capacity);
    }

    std::string Src(const std::string& name) const { return folder.Path() + "/src/" + name; }

    test::TempFolder folder;
    std::string out = folder.File("out");
    std::vector<ProjectItem> items;
};

std::set<std::string> FilesBelow(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_directory())
            files.insert(entry.path().lexically_relative(root).generic_string());
    }
    return files;
}

TEST_F(MediumExportTest, LinkFoldersHoldEachMediumsTreeAndCheckWithSha256sum) {
    EXPECT_EQ(Export(ExportFormat::Links),
              (std::vector<std::string>{out + "/Proj_01", out + "/Proj_02"}));
    const std::set<std::string> media[] = {
        {"photos/a b.txt", "photos/q\"uote's.txt", "SHA256SUMS"},
        {"docs/x=y.txt", "docs/back\\slash.txt", "docs/日本語.txt", "docs/sub/deep, comma.txt",
         "SHA256SUMS"},
    };
    for (int m = 0; m < 2; ++m) {
        const fs::path medium = fs::path(out) / ("Proj_0" + std::to_string(m + 1));
        EXPECT_EQ(FilesBelow(medium), media[m]);
        for (const std::string& name : media[m]) {
            if (name != "SHA256SUMS") {
                EXPECT_TRUE(fs::equivalent(medium / name, Src(name))) << name;
            }
        }
        const std::string check =
            "cd '" + medium.string() + "' && sha256sum --quiet --strict -c SHA256SUMS";
        EXPECT_EQ(std::system(check.c_str()), 0) << medium;
    }
    EXPECT_EQ(FilesBelow(out).size(), 8u) << "nothing but the two media";
}

// Each list, fed to xorriso as its -pathspecs take it, gives an image of
// exactly the medium's files under their names.
TEST_F(MediumExportTest, PathListsMakeImagesOfTheMediumsFiles) {
    Export(ExportFormat::Lists);
    const std::set<std::string> media[] = {
        {"photos/a b.txt", "photos/q\"uote's.txt"},
        {"docs/x=y.txt", "docs/back\\slash.txt", "docs/日本語.txt", "docs/sub/deep, comma.txt"},
    };
    for (int m = 0; m < 2; ++m) {
        const std::string list = out + "/Proj_0" + std::to_string(m + 1) + ".pathlist";
        const std::string image = folder.File("list.iso");
        fs::remove(image);
        int status = 0;
        test::Output("xorriso -no_rc -outdev stdio:" + test::Quoted(image) +
                         " -pathspecs on -path-list " + test::Quoted(list) + " -commit 2>&1",
                     &status);
        EXPECT_EQ(status, 0) << list;
        EXPECT_EQ(test::IsoFiles(image), media[m]);
    }
}

TEST_F(MediumExportTest, CatalogQuotesFieldsAsCsv) {
    items[0].members[1].path = Make("photos/say \"hi\"");
    EXPECT_EQ(Export(ExportFormat::Catalog), std::vector<std::string>{out + "/Proj_catalog.csv"});
    EXPECT_EQ(test::ReadBytes(out + "/Proj_catalog.csv"),
              "medium,path,size\r\n"
              "1,photos/a b.txt,14\r\n"
              "1,\"photos/say \"\"hi\"\"\",15\r\n"
              "2,docs/x=y.txt,12\r\n"
              "2,docs/back\\slash.txt,19\r\n"
              "2,docs/日本語.txt,18\r\n"
              "2,\"docs/sub/deep, comma.txt\",24\r\n");
}

TEST_F(MediumExportTest, AnExistingMediumIsReplacedOnlyWithForce) {
    const fs::path medium = fs::path(out) / "Proj_02";
    fs::create_directories(medium);
    test::WriteBytes((medium / "old.txt").string(), "old");
    try {
        Export(ExportFormat::Links);
        ADD_FAILURE() << "an existing medium folder was replaced";
    } catch (const MediumExportError& error) {
        EXPECT_EQ(error.Path(), medium.string());
    }
    EXPECT_EQ(FilesBelow(out), std::set<std::string>{"Proj_02/old.txt"});

    Export(ExportFormat::Links, true);
    EXPECT_FALSE(fs::exists(medium / "old.txt"));
    EXPECT_TRUE(fs::exists(medium / "docs/日本語.txt"));
    EXPECT_EQ(test::ReadBytes(Src("docs/日本語.txt")), "docs/日本語.txt");
}

TEST_F(MediumExportTest, AMissingSourceFileWritesNothing) {
    fs::remove(Src("docs/x=y.txt"));
    for (const ExportFormat format :
         {ExportFormat::Links, ExportFormat::Lists, ExportFormat::Catalog, ExportFormat::Iso}) {
        try {
            Export(format);
            ADD_FAILURE() << "exported without a member file";
        } catch (const MediumExportError& error) {
            EXPECT_EQ(error.Path(), Src("docs/x=y.txt"));
        }
        EXPECT_FALSE(fs::exists(out));
    }
}

// A file of the medium named like the catalog stops the export late, after the
// first medium is built: what was built goes again.
TEST_F(MediumExportTest, AFailureWhileBuildingLeavesNothingBehind) {
    items[1].members[0].path = Make("SHA256SUMS");
    try {
        Export(ExportFormat::Links);
        ADD_FAILURE() << "a file was linked under the catalog's name";
    } catch (const MediumExportError& error) {
        EXPECT_EQ(error.Path(), Src("SHA256SUMS"));
    }
    EXPECT_TRUE(fs::is_empty(out));
    EXPECT_EQ(test::ReadBytes(Src("SHA256SUMS")), "SHA256SUMS");
}

// Each image holds the medium's files and their SHA256SUMS, which checks once
// the image is unpacked; the image's own digest lies beside it.
TEST_F(MediumExportTest, ImagesHoldTheMediumsFilesAndTheirSums) {
    EXPECT_EQ(Export(ExportFormat::Iso),
              (std::vector<std::string>{out + "/Proj_01.iso", out + "/Proj_01.iso.sha256",
                                        out + "/Proj_02.iso", out + "/Proj_02.iso.sha256"}));
    EXPECT_EQ(test::IsoFiles(out + "/Proj_02.iso"),
              (std::set<std::string>{"docs/x=y.txt", "docs/back\\slash.txt", "docs/日本語.txt",
                                     "docs/sub/deep, comma.txt", "SHA256SUMS"}));
    int status = 0;
    const std::string unpacked = folder.File("unpacked");
    test::Output("xorriso -no_rc -osirrox on -indev " + test::Quoted(out + "/Proj_02.iso") +
                     " -extract / " + test::Quoted(unpacked) + " 2>&1",
                 &status);
    ASSERT_EQ(status, 0);
    test::Output("cd " + test::Quoted(unpacked) + " && sha256sum --quiet --strict -c SHA256SUMS",
                 &status);
    EXPECT_EQ(status, 0);
    test::Output("cd " + test::Quoted(out) + " && sha256sum --quiet --strict -c Proj_01.iso.sha256",
                 &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(test::Output("xorriso -no_rc -indev " + test::Quoted(out + "/Proj_01.iso") +
                           " -pvd_info 2>/dev/null")
                  .find("Volume Id    : PROJ_01"),
              std::string::npos);
}

// An image that does not fit, a missing xorriso and a cancel each end the
// export with nothing of it left.
TEST_F(MediumExportTest, AFailedImageLeavesNothing) {
    const char* path = std::getenv("PATH");
    const std::string savedPath = path ? path : "";
    int reports = 0;
    const ExportProgress cancelSoon{[&](const std::string&, double) { ++reports; },
                                    [&] { return reports < 3; }};
    struct Case {
        const char* what;
        double capacity;
        std::string searchPath;
        const ExportProgress& progress;
        std::string message;  // empty: cancelled
    };
    const ExportProgress none;
    const Case cases[] = {
        {"too small", 100'000, savedPath, none, "bytes, more than the medium's capacity of 100000"},
        {"no xorriso", 1e9, folder.Path(), none, "'xorriso': is not installed"},
        {"cancelled", 1e9, savedPath, cancelSoon, ""},
    };
    for (const Case& c : cases) {
        setenv("PATH", c.searchPath.c_str(), 1);
        try {
            Export(ExportFormat::Iso, false, c.progress, c.capacity);
            ADD_FAILURE() << c.what << ": exported";
        } catch (const MediumExportError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
                << c.what << ": " << error.what();
            EXPECT_FALSE(c.message.empty()) << c.what;
        } catch (const ExportCancelled&) {
            EXPECT_TRUE(c.message.empty()) << c.what;
        }
        setenv("PATH", savedPath.c_str(), 1);
        EXPECT_TRUE(fs::is_empty(out)) << c.what;
    }
}

// Whichever call of the disk fails, the export says where and why, and the
// earlier output stays as it was with nothing half written beside it.
TEST_F(MediumExportTest, AFailingDiskLeavesTheEarlierOutput) {
    Export(ExportFormat::Catalog);
    const std::string catalog = out + "/Proj_catalog.csv";
    const std::string earlier = test::ReadBytes(catalog);
    items.pop_back();
    for (int failAt = 1;; ++failAt) {
        test::FaultyFiles disk(failAt, test::kDiskErrors[failAt % 3]);
        try {
            Export(ExportFormat::Catalog, true);
            EXPECT_FALSE(disk.Failed());
            break;
        } catch (const MediumExportError& error) {
            EXPECT_EQ(error.Path().rfind(catalog, 0), 0u) << error.what();
        }
        EXPECT_EQ(test::ReadBytes(catalog), earlier) << disk.FailedCall();
        EXPECT_EQ(FilesBelow(out), std::set<std::string>{"Proj_catalog.csv"});
    }
}

TEST(VolumeIdTest, KeepsWhatIso9660AllowsWithinThirtyTwoCharacters) {
    const struct {
        const char* project;
        int medium;
        const char* id;
    } cases[] = {
        {"Proj", 1, "PROJ_01"},
        {"my photos (2024)", 12, "MY_PHOTOS_2024_12"},
        {"写真", 3, "DISC_03"},
        {"a_very_long_project_name_for_the_archive", 32766, "A_VERY_LONG_PROJECT_NAME_F_32766"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VolumeId(c.project, c.medium), c.id) << c.project;
}

}  // namespace
}  // namespace zv
