#include "tools/screenshots/SampleProjects.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "cli/ProjectRun.h"
#include "core/project/ProjectFile.h"

namespace zv {

namespace {

namespace fs = std::filesystem;

struct SampleFile {
    const char* path;  // below the samples folder
    std::uintmax_t size;
};

struct SampleItem {
    const char* group;  // empty for a single file
    std::vector<SampleFile> files;
};

std::string MakeFile(const fs::path& root, const SampleFile& file) {
    const fs::path path = root / file.path;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).put('\0');
    fs::resize_file(path, file.size);
    return path.string();
}

std::vector<ProjectItem> MakeItems(const fs::path& root, const std::vector<SampleItem>& samples) {
    std::vector<ProjectItem> items;
    for (const SampleItem& sample : samples) {
        ProjectItem item;
        for (const SampleFile& file : sample.files)
            item.members.push_back({MakeFile(root, file), static_cast<double>(file.size)});
        item.name = *sample.group ? sample.group : item.members.front().path;
        items.push_back(item);
    }
    return items;
}

std::string RunSample(const fs::path& file, std::vector<ProjectItem> items) {
    RunSettings settings;
    settings.MediaSize = "CD-R 80分 (700MB)";
    settings.DiffSize = 1'000'000;
    settings.MediaNum = 32766;
    settings.MaxFile = 32766;
    settings.MaxSpeed = true;
    if (!RunProject(file.string(), items, settings, 0, true).completed)
        throw std::runtime_error("the sample run of " + file.string() + " did not complete");
    return file.string();
}

}  // namespace

SampleProjects MakeSampleProjects(const std::string& folder) {
    const fs::path root = fs::path(folder) / "サンプル";
    const std::vector<SampleItem> photosAndVideos{
        {"", {{"ビデオ/運動会2025.mp4", 412'345'678}}},
        {"", {{"ビデオ/ピアノ発表会.mp4", 298'765'432}}},
        {"", {{"ビデオ/誕生日パーティー.mov", 187'654'321}}},
        {"京都旅行",
         {{"写真/京都/IMG_0001.JPG", 4'812'345},
          {"写真/京都/IMG_0002.JPG", 5'123'456},
          {"写真/京都/IMG_0003.JPG", 3'987'654},
          {"写真/京都/IMG_0004.JPG", 6'234'567},
          {"写真/京都/IMG_0005.JPG", 4'456'789}}},
        {"北海道旅行",
         {{"写真/北海道/DSC_1201.JPG", 7'345'678},
          {"写真/北海道/DSC_1202.JPG", 6'987'654},
          {"写真/北海道/DSC_1203.JPG", 7'654'321}}},
        {"", {{"音声/ライブ録音.flac", 245'678'901}}},
        {"", {{"書類/確定申告2025.pdf", 3'456'789}}},
        {"", {{"書類/家計簿.xlsx", 1'234'567}}},
        {"", {{"バックアップ/セーブデータ.zip", 156'789'012}}},
        {"", {{"ソフト/インストーラ.iso", 612'345'678}}},
        {"", {{"ソフト/OSイメージ.iso", 1'234'567'890}}},
    };
    const std::vector<SampleItem> music{
        {"夏の終わり (2019)",
         {{"音楽/夏の終わり/01 はじまり.flac", 31'234'567},
          {"音楽/夏の終わり/02 海辺の町.flac", 28'765'432},
          {"音楽/夏の終わり/03 夕立.flac", 35'678'901},
          {"音楽/夏の終わり/04 花火.flac", 40'123'456}}},
        {"冬の星座 (2021)",
         {{"音楽/冬の星座/01 オリオン.flac", 33'456'789},
          {"音楽/冬の星座/02 雪明かり.flac", 29'876'543},
          {"音楽/冬の星座/03 白い息.flac", 36'543'210}}},
        {"", {{"音楽/シングル/風のうた.flac", 38'765'432}}},
        {"", {{"音楽/シングル/あさやけ.flac", 27'654'321}}},
        {"", {{"音楽/ライブ/武道館ライブ.flac", 512'345'678}}},
        {"", {{"音楽/ライブ/アンコール.flac", 98'765'432}}},
        {"", {{"音楽/デモ/デモ音源集.zip", 187'654'321}}},
    };

    const fs::path projects = fs::path(folder) / "プロジェクト";
    fs::create_directories(projects);
    return {RunSample(projects / "写真とビデオ.mtb", MakeItems(root, photosAndVideos)),
            RunSample(projects / "音楽アーカイブ.mtb", MakeItems(root, music))};
}

}  // namespace zv
