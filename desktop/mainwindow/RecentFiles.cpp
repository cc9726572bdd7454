#include "desktop/mainwindow/RecentFiles.h"

#include <algorithm>
#include <vector>

#include "core/settings/FileRef.h"
#include "core/settings/FileSystem.h"
#include "core/settings/IniFile.h"
#include "core/settings/IniSnapshot.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"

namespace zv {

namespace {

// A menu caption takes "&" as the mark of its access key; a path keeps its own
// ampersands by doubling them.
std::string MenuText(const std::string& path) {
    std::string text;
    for (const char c : path) {
        text += c;
        if (c == '&')
            text += '&';
    }
    return text;
}

}  // namespace

std::optional<std::string> RecentFilePath(int k) {
    if (k < 0 || k >= kRecentFileCount)
        return std::nullopt;
    auto path = IniFile(SettingsFilePath()).Read(settings_keys::kHistory, std::to_string(k));
    if (!path || !FileExists(*path))
        return std::nullopt;
    return path;
}

void RememberRecentFile(const std::string& path) {
    std::vector<std::string> paths{path};
    for (int k = 0; k < kRecentFileCount; ++k) {
        const auto listed = RecentFilePath(k);
        if (listed && std::find(paths.begin(), paths.end(), *listed) == paths.end())
            paths.push_back(*listed);
    }
    paths.resize(kRecentFileCount);
    // The list only saves the user a few clicks: a settings file that cannot
    // be written loses nothing else.
    const IniFile settings(SettingsFilePath());
    for (int k = 0; k < kRecentFileCount; ++k)
        static_cast<void>(settings.Write(settings_keys::kHistory, std::to_string(k), paths[k]));
}

std::array<std::string, kRecentFileCount> RecentFileCaptions() {
    std::array<std::string, kRecentFileCount> captions;
    const IniSnapshot settings(SettingsFilePath());
    for (int k = 0; k < kRecentFileCount; ++k) {
        const std::string digit = std::to_string(k);
        const auto path = settings.Read(settings_keys::kHistory, digit);
        if (!path || !FileExists(*path))
            continue;
        captions[k] = "&" + digit + ": " + MenuText(FileRef::Get(*path).ShortPath());
    }
    return captions;
}

}  // namespace zv
