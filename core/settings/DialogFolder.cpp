#include "core/settings/DialogFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/settings/IniFile.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"

namespace zv {

namespace {

bool IsFolder(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

}  // namespace

std::string DialogStartFolder(const std::string& projectPath) {
    const std::string projectFolder = std::filesystem::path(projectPath).parent_path().string();
    if (IsFolder(projectFolder))
        return projectFolder;
    const auto remembered =
        IniFile(SettingsFilePath())
            .Read(settings_keys::LastFolder.section, settings_keys::LastFolder.name);
    if (remembered && IsFolder(*remembered))
        return *remembered;
    const char* home = std::getenv("HOME");
    return home != nullptr && IsFolder(home) ? home : std::filesystem::current_path().string();
}

void RememberDialogFolder(const std::string& chosenPath) {
    const std::string folder = std::filesystem::path(chosenPath).parent_path().string();
    // The folder only saves the user a few clicks: a settings file that
    // cannot be written loses nothing else.
    if (IsFolder(folder))
        static_cast<void>(
            IniFile(SettingsFilePath())
                .Write(settings_keys::LastFolder.section, settings_keys::LastFolder.name, folder));
}

}  // namespace zv
