// Plans made with the file system's allowance, checked against the images
// xorriso really makes of them.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/engine/FileSystemAllowance.h"
#include "core/project/MediumExport.h"
#include "core/project/PlanRun.h"
#include "core/project/ProjectFile.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

constexpr double kCapacity = 4'000'000;

class QuietObserver : public RunObserver {
  public:
    void StatusChanged(const std::string&) override {}
    void ProgressChanged(int, const ProgressBarState&) override {}
    void Yield() override {}
    void PauseWait() override {}
    void MediumChosen(const MediumReport&) override {}
};

// A name of ASCII or Japanese words, `bytes` long or a little less.
std::string Name(std::mt19937& random, size_t bytes) {
    static const char* const kWords[] = {"写真", "旅行", "記録", "photo", "trip", "= x", "'q'"};
    std::string name = "x";
    for (std::string word; name.size() + word.size() <= bytes; word = kWords[random() % 7])
        name += word;
    return name;
}

const struct Tree {
    const char* what;
    int files;
    int largest;  // bytes
    std::function<std::string(std::mt19937&, int)> path;
} kTrees[] = {
    {"many small files", 1500, 3000,
     [](std::mt19937& r, int i) {
         return "dir" + std::to_string(r() % 30) + "/file" + std::to_string(i) + ".txt";
     }},
    {"a deep tree", 250, 30000,
     [](std::mt19937& r, int i) {
         std::string path;
         for (int depth = 1 + static_cast<int>(r() % 24); depth > 0; --depth)
             path += "d" + std::to_string(r() % 3) + "/";
         return path + "f" + std::to_string(i);
     }},
    {"long names", 300, 40000,
     [](std::mt19937& r, int i) {
         return Name(r, 40 + r() % 200) + "/" + Name(r, 100 + r() % 140) + std::to_string(i);
     }},
};

std::vector<ProjectItem> MakeFiles(const Tree& tree, const std::string& root) {
    std::mt19937 random(5);
    std::vector<ProjectItem> items;
    for (int i = 0; i < tree.files; ++i) {
        const fs::path path = fs::path(root) / tree.path(random, i);
        const auto size = static_cast<size_t>(random() % (tree.largest + 1));
        fs::create_directories(path.parent_path());
        test::WriteBytes(path.string(), std::string(size, 'z'));
        items.push_back({path.string(), 1, {{path.string(), static_cast<double>(size)}}});
    }
    return items;
}

// Plans the items as the program does; the project file holds the plan.
void Plan(const std::string& project, std::vector<ProjectItem>& items, PackingMethod method) {
    RunSettings settings{"4000000", kCapacity / 1000, 32766, 32766, 0, false, 0, ""};
    settings.Method = method, settings.FsAllowance = FileSystemAllowance::Iso9660;
    RunRequests requests;
    QuietObserver observer;
    const PlanRunResult result = RunPlan(items, settings, requests, observer, {1});
    ASSERT_EQ(result.end, RunEnd::Completed) << (result.message ? result.message->text : "");
    for (size_t i = 0; i < items.size(); ++i) {
        items[i].medium = static_cast<int16_t>(result.media[i]);
        ASSERT_GT(result.media[i], 0) << i;
    }
    ASSERT_TRUE(ProjectFile::Write(project, items, settings));
}

// All of a tree on one medium: the estimate is never below the image, and not
// far above it. Planned with it, every image fits its medium (the export
// refuses a larger one; each is measured here as well).
TEST(FileSystemAllowanceTest, TheEstimateBoundsTheImageAndEveryImageOfAPlanFits) {
    for (const Tree& tree : kTrees) {
        test::TempFolder folder;
        std::vector<ProjectItem> items = MakeFiles(tree, folder.File("files"));
        std::vector<MemberFile> files;
        for (size_t i = 0; i < items.size(); ++i)
            files.push_back({static_cast<int>(i),
                             items[i].name,
                             items[i].members[0].size,
                             EntryKind::File,
                             {}});
        const FileSystemEstimate estimate =
            EstimateIso9660(files, static_cast<int>(items.size()), 1e12);
        double total = estimate.mediumReserve;
        for (const double size : estimate.itemSizes)
            total += size;
        ExportMedia(items, "p", folder.File("all"), ExportFormat::Iso, false);
        const auto image = static_cast<double>(fs::file_size(folder.File("all/p_01.iso")));
        EXPECT_GE(total, image) << tree.what;
        EXPECT_LE(total, image * 1.2) << tree.what;
        for (const PackingMethod method : {PackingMethod::FewestMedia, PackingMethod::Sequential}) {
            if (method == PackingMethod::Sequential && &tree != &kTrees[0])
                continue;
            SCOPED_TRACE(std::string(tree.what) + ", method " +
                         std::to_string(static_cast<int>(method)));
            Plan(folder.File("p.mtb"), items, method);
            const std::string out = folder.File("out" + std::to_string(static_cast<int>(method)));
            for (const std::string& written :
                 ExportMedia(items, "p", out, ExportFormat::Iso, false, {}, kCapacity)) {
                if (written.ends_with(".iso")) {
                    EXPECT_LE(fs::file_size(written), kCapacity) << written;
                }
            }
        }
    }
}

}  // namespace
}  // namespace zv
