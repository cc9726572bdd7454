#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/project/MediumExport.h"
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

    std::vector<std::string> Export(ExportFormat format, bool force = false) {
        return ExportMedia(items, "Proj", out, format, force);
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

TEST_F(MediumExportTest, PathListsEscapeBackslashAndEquals) {
    Export(ExportFormat::Lists);
    const std::string src = Src("");
    EXPECT_EQ(test::ReadBytes(out + "/Proj_01.pathlist"),
              "/photos/a b.txt=" + src + "photos/a b.txt\n/photos/q\"uote's.txt=" + src +
                  "photos/q\"uote's.txt\n");
    EXPECT_EQ(test::ReadBytes(out + "/Proj_02.pathlist"),
              "/docs/x\\=y.txt=" + src + "docs/x\\=y.txt\n" +                      //
                  "/docs/back\\\\slash.txt=" + src + "docs/back\\\\slash.txt\n" +  //
                  "/docs/日本語.txt=" + src + "docs/日本語.txt\n" +                //
                  "/docs/sub/deep, comma.txt=" + src + "docs/sub/deep, comma.txt\n");
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
         {ExportFormat::Links, ExportFormat::Lists, ExportFormat::Catalog}) {
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

}  // namespace
}  // namespace zv
