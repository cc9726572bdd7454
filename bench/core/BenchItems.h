#pragma once

#include <random>
#include <string>
#include <vector>

#include "core/engine/RunObserver.h"
#include "core/project/ProjectFile.h"

namespace zv {

// `count` single-file items spread over 1,000 folders, of whole sizes drawn
// evenly from [smallest, largest], or all of `smallest` when the two are equal.
inline std::vector<ProjectItem> RandomItems(int count, double smallest, double largest,
                                            unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> bytes(smallest, largest);
    std::vector<ProjectItem> items;
    items.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::string path = "/archive/d" + std::to_string(i % 1000) + "/f" + std::to_string(i);
        const double size = smallest == largest
                                ? smallest
                                : static_cast<double>(static_cast<long long>(bytes(random)));
        items.push_back({path, 0, {{path, size}}});
    }
    return items;
}

// Shows a run to nobody, counting its media and the time their searches took.
class QuietObserver : public RunObserver {
  public:
    void StatusChanged(const std::string&) override {}
    void ProgressChanged(int, const ProgressBarState&) override {}
    void Yield() override {}
    void PauseWait() override {}
    void MediumChosen(const MediumReport& report) override {
        ++media;
        searchSeconds += report.searchSeconds;
    }
    int media = 0;
    double searchSeconds = 0;
};

}  // namespace zv
