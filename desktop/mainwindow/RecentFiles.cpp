#include "desktop/mainwindow/RecentFiles.h"

#include <algorithm>
#include <vector>

#include "core/settings/FileRef.h"
#include "core/settings/FileSystem.h"
#include "core/settings/IniAccess.h"
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
    std::string path;
    if (k < 0 || k >= kRecentFileCount ||
        !IniAccess(IniRead, settings_keys::kHistory, std::to_string(k), path, SettingsFilePath()) ||
        !FileExists(path))
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
    std::string unused;
    IniAccess(IniSelect, settings_keys::kHistory, "", unused, SettingsFilePath());
    for (int k = 0; k < kRecentFileCount; ++k)
        IniAccess(IniWrite, "", std::to_string(k), paths[k], "");
}

std::array<std::string, kRecentFileCount> RecentFileCaptions() {
    std::array<std::string, kRecentFileCount> captions;
    std::string unused;
    IniAccess(IniSelect, settings_keys::kHistory, "", unused, SettingsFilePath());
    for (int k = 0; k < kRecentFileCount; ++k) {
        const std::string digit = std::to_string(k);
        std::string path;
        if (!IniAccess(IniRead, "", digit, path, "") || !FileExists(path))
            continue;
        captions[k] = "&" + digit + ": " + MenuText(FileRef::Get(path).ShortPath());
    }
    return captions;
}

}  // namespace zv
