#include "desktop/mainwindow/RecentFiles.h"

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
