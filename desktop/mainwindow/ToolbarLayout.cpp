#include "desktop/mainwindow/ToolbarLayout.h"

#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr int kLayoutBase = 65300;
constexpr int kKeyBase = 65100;
constexpr int kTooltipBase = 65200;

}  // namespace

std::vector<ToolbarEntry> ToolbarLayout() {
    std::vector<ToolbarEntry> entries;
    int button = 0;
    for (int i = 0; HasResString(kLayoutBase + i); ++i) {
        if (ResString(kLayoutBase + i) == "0") {
            entries.push_back({true, "", ""});
            continue;
        }
        ++button;
        entries.push_back({false, ResString(kKeyBase + button), ResString(kTooltipBase + button)});
    }
    return entries;
}

}  // namespace zv
