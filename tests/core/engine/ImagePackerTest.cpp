#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/engine/ImagePacker.h"
#include "core/engine/IsoImageModel.h"

namespace zv {
namespace {

const PackProgress kNoProgress = [](const PackStatus&) { return PackControl::Continue; };

// One file per item: `folders` folders of `perFolder` files of random sizes
// up to `largest` bytes, below one common folder.
std::vector<MemberFile> Tree(int folders, int perFolder, int largest, unsigned seed = 1) {
    std::mt19937 random(seed);
    std::vector<MemberFile> files;
    for (int f = 0; f < folders; ++f) {
        for (int i = 0; i < perFolder; ++i) {
            files.push_back({static_cast<int>(files.size()),
                             "/data/folder" + std::to_string(f) + "/file" + std::to_string(i),
                             static_cast<double>(random() % (largest + 1)),
                             EntryKind::File,
                             {}});
        }
    }
    return files;
}

// The image of a medium as the export lays it out below the common folder.
std::uint64_t ImageOf(const std::vector<MemberFile>& files, const std::vector<int>& items) {
    const std::set<int> chosen(items.begin(), items.end());
    IsoImageModel model;
    for (const MemberFile& file : files) {
        if (chosen.count(file.item) > 0)
            model.Add(file.path.substr(std::string("/data/").size()),
                      static_cast<std::uint64_t>(file.size), file.kind);
    }
    return model.ImageBytes();
}

// Every item once, every image within the capacity and the limits kept.
void ExpectValidPlan(const std::vector<MemberFile>& files, const PackLimits& limits,
                     const PackPlan& plan) {
    std::vector<int> seen(files.size(), 0);
    for (const std::vector<int>& medium : plan.media) {
        EXPECT_LE(ImageOf(files, medium), limits.capacity);
        EXPECT_LE(static_cast<int>(medium.size()), limits.maxItems);
        EXPECT_GT(static_cast<int>(medium.size()), limits.minItems);
        for (const int item : medium)
            ++seen.at(item);
    }
    for (const int item : plan.unplaced)
        ++seen.at(item);
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }));
    if (limits.mediaCount > 0) {
        EXPECT_LE(static_cast<int>(plan.media.size()), limits.mediaCount);
    }
}

TEST(ImagePackerTest, ImagesFitTheLimitsHoldAndEveryItemIsPlacedOnce) {
    const std::vector<MemberFile> files = Tree(40, 25, 60000);
    const struct {
        const char* what;
        PackLimits limits;
    } kCases[] = {
        {"no limits", {2'000'000, 0, 0, 32766, 0}},
        {"an item limit", {2'000'000, 0, 0, 7, 0}},
        {"a media count", {2'000'000, 0, 3, 32766, 0}},
        {"a minimum item count", {2'000'000, 0, 0, 32766, 20}},
        {"a small capacity", {500'000, 0, 0, 32766, 0}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        const PackPlan plan =
            PackImages(files, static_cast<int>(files.size()), c.limits, kNoProgress);
        ExpectValidPlan(files, c.limits, plan);
        if (c.limits.mediaCount == 0 && c.limits.minItems == 0) {
            EXPECT_TRUE(plan.unplaced.empty());
        }
    }
}

// All but the last medium come out nearly full, and a folder's files share
// few media: a medium holds a run of the tree.
TEST(ImagePackerTest, FillsImagesAndKeepsFoldersTogether) {
    const std::vector<MemberFile> files = Tree(60, 40, 20000);
    const PackLimits limits{3'000'000, 0, 0, 32766, 0};
    const PackPlan plan = PackImages(files, static_cast<int>(files.size()), limits, kNoProgress);
    ASSERT_GT(plan.media.size(), 3u);
    std::map<std::string, std::set<size_t>> mediaOfFolder;
    for (size_t m = 0; m < plan.media.size(); ++m) {
        if (m + 1 < plan.media.size()) {
            EXPECT_GE(ImageOf(files, plan.media[m]), 0.99 * limits.capacity) << m;
        }
        for (const int item : plan.media[m]) {
            const std::string& path = files[static_cast<size_t>(item)].path;
            mediaOfFolder[path.substr(0, path.rfind('/'))].insert(m);
        }
    }
    size_t pairs = 0;
    for (const auto& [folder, media] : mediaOfFolder)
        pairs += media.size();
    // Each medium breaks at most one folder in the order, and takes the files
    // of a few more to fill its end.
    EXPECT_LE(pairs, mediaOfFolder.size() + 4 * plan.media.size());
}

// Every capacity that holds the largest item with its folders places every
// item, and more room never takes more media.
TEST(ImagePackerTest, MoreCapacityNeverTakesMoreMedia) {
    // Small files, where the tree's order packs best, and large ones, where
    // the search by size does.
    std::vector<MemberFile> files = Tree(30, 30, 40000, 4);
    for (int i = 0; i < 40; ++i) {
        files.push_back({static_cast<int>(files.size()),
                         "/data/large/" + std::to_string(i),
                         200'000.0 + 17'000 * i,
                         EntryKind::File,
                         {}});
    }
    files.push_back({static_cast<int>(files.size()),
                     "/data/big/" + std::string(200, 'b'),
                     900'000,
                     EntryKind::File,
                     {}});
    const std::uint64_t largest = ImageOf(files, {static_cast<int>(files.size()) - 1});
    size_t previous = SIZE_MAX;
    for (double capacity = static_cast<double>(largest); capacity < 6e6; capacity *= 1.07) {
        const PackLimits limits{capacity, 0, 0, 32766, 0};
        const PackPlan plan =
            PackImages(files, static_cast<int>(files.size()), limits, kNoProgress);
        EXPECT_TRUE(plan.unplaced.empty()) << capacity;
        EXPECT_LE(plan.media.size(), previous) << capacity;
        previous = plan.media.size();
    }
    const PackLimits tooSmall{static_cast<double>(largest) - 1, 0, 0, 32766, 0};
    const PackPlan plan = PackImages(files, static_cast<int>(files.size()), tooSmall, kNoProgress);
    EXPECT_EQ(plan.unplaced, std::vector<int>{static_cast<int>(files.size()) - 1});
}

// Empty files, empty folders and links are items like any other.
TEST(ImagePackerTest, PlacesEmptyFilesFoldersAndLinks) {
    const std::vector<MemberFile> files{
        {0, "/data/e/__init__.py", 0, EntryKind::File, {}},
        {1, "/data/empty folder", 0, EntryKind::Folder, {}},
        {2, "/data/e/link", 0, EntryKind::Link, "../elsewhere"},
    };
    const PackLimits limits{1'000'000, 0, 0, 1, 0};
    const PackPlan plan = PackImages(files, 3, limits, kNoProgress);
    ExpectValidPlan(files, limits, plan);
    EXPECT_EQ(plan.media.size(), 3u);
    EXPECT_TRUE(plan.unplaced.empty());
}

TEST(ImagePackerTest, AbortPlacesNothing) {
    const std::vector<MemberFile> files = Tree(5, 5, 1000);
    const PackPlan plan =
        PackImages(files, static_cast<int>(files.size()), {1'000'000, 0, 0, 32766, 0},
                   [](const PackStatus&) { return PackControl::Abort; });
    EXPECT_TRUE(plan.aborted);
    EXPECT_TRUE(plan.media.empty());
    EXPECT_EQ(plan.unplaced.size(), files.size());
}

}  // namespace
}  // namespace zv
