// The image model against the images xorriso really writes, made as the
// export makes them.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/engine/IsoImageModel.h"
#include "core/platform/ChildProcess.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

struct Entry {
    std::string path;
    std::uint64_t size = 0;
    EntryKind kind = EntryKind::File;
    std::string target;
};

std::string Repeat(const std::string& part, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i)
        text += part;
    return text;
}

std::vector<Entry> Files(int count, const std::string& folder, const std::string& name,
                         std::uint64_t size) {
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back({folder + name + std::to_string(i), size, EntryKind::File, {}});
    return entries;
}

std::vector<Entry> RandomTree(unsigned seed, int files, int folders, int depth) {
    std::mt19937 random(seed);
    static const char* const kWords[] = {"写真", "data", "旅行", "notes", "x", "long_name_part"};
    std::vector<Entry> entries;
    for (int i = 0; i < files; ++i) {
        std::string path;
        for (int d = static_cast<int>(random() % depth); d > 0; --d)
            path += "d" + std::to_string(random() % folders) + kWords[random() % 6] + "/";
        path += kWords[random() % 6] + std::to_string(i) + (i % 3 ? ".txt" : "");
        entries.push_back({path, random() % 9000, EntryKind::File, {}});
    }
    return entries;
}

const struct Case {
    const char* what;
    std::vector<Entry> entries;
    bool followLinks = true;
    // The layouts the export falls back to where libisofs refuses the first.
    const char* rockRidge = "new_rr";
    bool longIsoNames = false;
} kCases[] = {
    {"nothing but SHA256SUMS", {}},
    {"a medium of empty files", Files(60, "", "empty", 0)},
    {"a folder of empty files", Files(30, "only/", "e", 0)},
    {"an empty folder",
     {{"kept", 0, EntryKind::Folder, {}}, {"a/b/kept too", 0, EntryKind::Folder, {}}}},
    // 16 records of about 120 bytes fill a sector; the 17th starts the next.
    {"records up to a sector", Files(15, "f/", Repeat("n", 20), 100)},
    {"records crossing a sector", Files(17, "f/", Repeat("n", 20), 100)},
    {"records over many sectors", Files(400, "big/", Repeat("abc", 15), 5000)},
    {"names needing a continuation area", Files(40, "long/", Repeat("長い", 30), 10)},
    {"names at the longest", Files(20, Repeat("f", 250) + "/", Repeat("x", 250), 3000)},
    {"the Joliet length limit", Files(10, "", Repeat("j", 63), 1)},
    {"past the Joliet length limit", Files(10, "", Repeat("j", 64), 1)},
    {"Japanese names past it", Files(10, "フォルダ/", Repeat("日本", 40), 2049)},
    {"a deep tree", Files(3, Repeat("deep/", 30), "f", 7000)},
    {"many folders", RandomTree(7, 900, 60, 4)},
    {"many small files", RandomTree(9, 3000, 8, 2)},
    {"links",
     {{"l/short", 0, EntryKind::Link, "target"},
      {"l/long", 0, EntryKind::Link, "../" + Repeat("a/", 120) + Repeat("b", 200)},
      {"l/file", 10, EntryKind::File, {}}},
     false},
    {"long names, Rock Ridge 1.10", Files(40, Repeat("d", 60) + "/", Repeat("長い", 30), 10), true,
     "old_rr"},
    {"long names, long ISO 9660 names", Files(300, Repeat("d", 60) + "/", Repeat("n", 45), 10),
     true, "new_rr", true},
};

// Makes the entries below `stage` and their SHA256SUMS, and the image of
// them as the export has xorriso make it.
std::uint64_t RealImageBytes(const Case& c, const std::string& stage, const std::string& image) {
    std::string sums;
    fs::create_directories(stage);
    for (const Entry& e : c.entries) {
        const fs::path path = fs::path(stage) / e.path;
        fs::create_directories(e.kind == EntryKind::Folder ? path : path.parent_path());
        if (e.kind == EntryKind::Link)
            fs::create_symlink(e.target, path);
        if (e.kind != EntryKind::File)
            continue;
        test::WriteBytes(path.string(), "");
        fs::resize_file(path, e.size);
        sums += std::string(64, '0') + "  " + e.path + "\n";
    }
    test::WriteBytes(stage + "/SHA256SUMS", sums);
    std::vector<std::string> command{"xorriso",    "-no_rc", "-compliance", c.rockRidge, "-as",
                                     "mkisofs",    "-o",     image,         "-r",        "-J",
                                     "-iso-level", "3",      "-V",          "DISC_01"};
    if (c.followLinks)
        command.emplace_back("-f");
    if (c.longIsoNames)
        command.emplace_back("-max-iso9660-filenames");
    command.push_back(stage);
    const ChildOutcome outcome = RunChild(
        command, [](const std::string&) {}, [] { return true; });
    EXPECT_TRUE(outcome.Succeeded()) << c.what;
    return fs::file_size(image);
}

std::uint64_t ModelBytes(const std::vector<Entry>& entries) {
    IsoImageModel model;
    for (const Entry& e : entries)
        model.Add(e.path, e.size, e.kind, e.target);
    return model.ImageBytes();
}

int FolderCount(const std::vector<Entry>& entries) {
    std::set<std::string> folders{""};
    for (const Entry& e : entries) {
        fs::path path =
            e.kind == EntryKind::Folder ? fs::path(e.path) : fs::path(e.path).parent_path();
        for (; !path.empty(); path = path.parent_path())
            folders.insert(path.string());
    }
    return static_cast<int>(folders.size());
}

TEST(IsoImageModelTest, NeverBelowTheImageAndAtMostASectorAFolderAbove) {
    for (const Case& c : kCases) {
        test::TempFolder folder;
        const std::uint64_t real =
            RealImageBytes(c, folder.File("stage"), folder.File("image.iso"));
        const std::uint64_t model = ModelBytes(c.entries);
        const auto margin = static_cast<std::uint64_t>(2048 * FolderCount(c.entries) + 65536);
        EXPECT_GE(model, real) << c.what;
        EXPECT_LE(model, real + margin) << c.what;
    }
}

// Taking entries out gives back what they cost (a directory's bound may stay
// a little wider where its longest record went).
TEST(IsoImageModelTest, RemovingTakesBackExactlyWhatAddingCost) {
    const std::vector<Entry> tree = RandomTree(3, 400, 20, 5);
    IsoImageModel model;
    for (const Entry& e : tree)
        model.Add(e.path, e.size, e.kind, e.target);
    std::vector<Entry> kept;
    for (size_t i = 0; i < tree.size(); ++i) {
        if (i % 3 == 0) {
            model.Remove(tree[i].path, tree[i].size, tree[i].kind, tree[i].target);
        } else {
            kept.push_back(tree[i]);
        }
    }
    EXPECT_GE(model.ImageBytes(), ModelBytes(kept));
    EXPECT_LE(model.ImageBytes(), ModelBytes(kept) + 4 * 2048);
    for (const Entry& e : kept)
        model.Remove(e.path, e.size, e.kind, e.target);
    EXPECT_EQ(model.ImageBytes(), ModelBytes({}));
}

}  // namespace
}  // namespace zv
