// Plans made with the file system's allowance, checked against the images
// xorriso really makes of them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/engine/FileSystemAllowance.h"
#include "core/engine/ResolveRunParameters.h"
#include "core/engine/RunEngine.h"
#include "core/project/MediumExport.h"
#include "core/project/ProjectFile.h"
#include "core/project/RunResults.h"
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
    void Message(int, const std::string& text) override { messages += text; }
    void MediumChosen(const MediumReport&) override {}
    std::string messages;
};

// Names of a few ASCII or Japanese words, `bytes` long or a little less.
std::string Name(std::mt19937& random, size_t bytes) {
    static const char* const kWords[] = {"写真", "旅行", "記録", "photo", "trip", "= x", "'q'"};
    std::string name;
    while (true) {
        const std::string word = kWords[random() % std::size(kWords)];
        if (name.size() + word.size() > bytes)
            return name.empty() ? "x" : name;
        name += word;
    }
}

struct Tree {
    const char* what;
    int files;
    int largest;  // bytes
    std::function<std::string(std::mt19937&, int)> path;
};

const Tree kTrees[] = {
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
        items.push_back({path.string(), 0, {{path.string(), static_cast<double>(size)}}});
    }
    return items;
}

// Saves, runs and reads back a plan as the program does.
void Plan(const std::string& project, std::vector<ProjectItem>& items, PackingMethod method) {
    RunSettings settings;
    settings.MediaSize = std::to_string(static_cast<long long>(kCapacity));
    settings.DiffSize = kCapacity / 1000;
    settings.MediaNum = 32766;
    settings.MaxFile = 32766;
    settings.Method = method;
    settings.FsAllowance = FileSystemAllowance::Iso9660;
    ASSERT_TRUE(ProjectFile::Write(project, items, settings));
    RunParameters params;
    ASSERT_TRUE(ResolveRunParameters(settings, project, params));
    RunRequests requests;
    QuietObserver observer;
    ASSERT_TRUE(RunEngine(params, requests, observer, {1})) << observer.messages;
    std::vector<int16_t> media(items.size(), 0);
    ASSERT_TRUE(ReadRunResults(project, media));
    for (size_t i = 0; i < items.size(); ++i)
        items[i].medium = media[i];
}

TEST(FileSystemAllowanceTest, EveryImageOfAPlanFitsItsMedium) {
    const std::pair<const Tree&, PackingMethod> cases[] = {
        {kTrees[0], PackingMethod::FewestMedia},
        {kTrees[0], PackingMethod::Sequential},
        {kTrees[1], PackingMethod::FewestMedia},
        {kTrees[2], PackingMethod::FewestMedia},
    };
    for (const auto& [tree, method] : cases) {
        SCOPED_TRACE(std::string(tree.what) +
                     (method == PackingMethod::Sequential ? ", sequential" : ", fewest media"));
        test::TempFolder folder;
        std::vector<ProjectItem> items = MakeFiles(tree, folder.File("files"));
        Plan(folder.File("p.mtb"), items, method);
        ASSERT_TRUE(std::all_of(items.begin(), items.end(),
                                [](const ProjectItem& item) { return item.medium > 0; }));

        // The export refuses an image larger than the capacity; each is
        // measured here as well.
        const std::vector<std::string> written =
            ExportMedia(items, "p", folder.File("out"), ExportFormat::Iso, false, {}, kCapacity);
        for (const std::string& image : written) {
            if (image.ends_with(".iso")) {
                EXPECT_LE(fs::file_size(image), kCapacity) << image;
            }
        }
    }
}

// All of a collection on one medium: the estimate is never below the image,
// and not far above it.
TEST(FileSystemAllowanceTest, TheEstimateBoundsTheImageClosely) {
    for (const Tree& tree : kTrees) {
        SCOPED_TRACE(tree.what);
        test::TempFolder folder;
        std::vector<ProjectItem> items = MakeFiles(tree, folder.File("files"));
        std::vector<MemberFile> files;
        for (size_t i = 0; i < items.size(); ++i) {
            items[i].medium = 1;
            files.push_back(
                {static_cast<int>(i), items[i].members[0].path, items[i].members[0].size});
        }
        const FileSystemEstimate estimate =
            EstimateIso9660(files, static_cast<int>(items.size()), 1e12);
        double total = estimate.mediumReserve;
        for (const double size : estimate.itemSizes)
            total += size;
        ExportMedia(items, "p", folder.File("out"), ExportFormat::Iso, false);
        const auto image = static_cast<double>(fs::file_size(folder.File("out/p_01.iso")));
        EXPECT_GE(total, image);
        EXPECT_LE(total, image * 1.2);
    }
}

}  // namespace
}  // namespace zv
