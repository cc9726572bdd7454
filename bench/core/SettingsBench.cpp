// Looking up a size preset in the settings file: the last name of many
// presets, and a name in a file that other sections have made large.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/settings/ProgramPaths.h"
#include "core/settings/SizeFromText.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

// A program folder of its own whose settings file holds `presets` presets
// named P0, P1, ... and then `paddingBytes` of another section.
void WriteSettings(int presets, std::size_t paddingBytes) {
    static const std::string folder = [] {
        std::string name = (fs::temp_directory_path() / "zarvopack-settings-bench-XXXXXX").string();
        return mkdtemp(name.data()) == nullptr ? fs::temp_directory_path().string() : name;
    }();
    SetProgramFolder(folder);
    std::ofstream file(SettingsFilePath(), std::ios::binary | std::ios::trunc);
    file << "[MSizeSet]\n";
    for (int k = 0; k < presets; ++k)
        file << k << "=P" << k << "#" << 1000 + k << "\n";
    file << "[SettingComments]\n";
    const std::string line = "2=" + std::string(254, 'x') + "\n";
    for (std::size_t written = 0; written < paddingBytes; written += line.size())
        file << line;
}

void LastOfManyPresets(benchmark::State& state) {
    const auto presets = static_cast<int>(state.range(0));
    WriteSettings(presets, 0);
    const std::string last = "P" + std::to_string(presets - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(SizeFromText(last));
}
BENCHMARK(LastOfManyPresets)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

void PresetInALargeFile(benchmark::State& state) {
    WriteSettings(100, static_cast<std::size_t>(state.range(0)) << 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(SizeFromText("P99"));
}
BENCHMARK(PresetInALargeFile)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zv

BENCHMARK_MAIN();
