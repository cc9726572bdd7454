#include "desktop/mainwindow/ToolbarLayout.h"

#include <map>

#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr int kLayoutBase = 65300;
constexpr int kKeyBase = 65100;
constexpr int kTooltipBase = 65200;

// The command of each button by the key the string table gives it.
Command CommandOfKey(const std::string& key) {
    static const std::map<std::string, Command> commands{
        {"New", Command::New},
        {"Open", Command::Open},
        {"Save", Command::Save},
        {"Size", Command::ChooseSizeUnit},
        {"Path", Command::ChoosePathMode},
        {"Add", Command::Add},
        {"Delete", Command::Delete},
        {"Cut", Command::Cut},
        {"Paste", Command::Paste},
        {"Group", Command::MakeGroup},
        {"Release", Command::ReleaseGroup},
        {"Start", Command::Run},
        {"Break", Command::Pause},
        {"Stop", Command::Stop},
        {"Setup", Command::RunOptions},
    };
    const auto found = commands.find(key);
    return found == commands.end() ? Command::None : found->second;
}

}  // namespace

std::vector<ToolbarEntry> ToolbarLayout() {
    std::vector<ToolbarEntry> entries;
    int button = 0;
    for (int i = 0; HasResString(kLayoutBase + i); ++i) {
        if (ResString(kLayoutBase + i) == "0") {
            entries.push_back({true, "", "", Command::None});
            continue;
        }
        ++button;
        const std::string key = ResString(kKeyBase + button);
        entries.push_back({false, key, ResString(kTooltipBase + button), CommandOfKey(key)});
    }
    return entries;
}

}  // namespace zv
