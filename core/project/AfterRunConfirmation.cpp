#include "core/project/AfterRunConfirmation.h"

#include <filesystem>
#include <system_error>

#include "core/project/AfterRun.h"
#include "core/project/Sha256.h"
#include "core/settings/IniFile.h"
#include "core/settings/IniSnapshot.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"

namespace zv {

namespace {

std::string HashOf(std::string_view text) {
    Sha256 hash;
    hash.Add(text);
    return hash.HexDigest();
}

// The same file named through another link or with "..", is the same project.
std::string FullPath(const std::string& project) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::weakly_canonical(project, error);
    return error ? std::filesystem::absolute(project).string() : full.string();
}

}  // namespace

AfterRunConfirmation::AfterRunConfirmation(const std::string& project, const RunSettings& settings)
    : key_(HashOf(FullPath(project))),
      // The line break keeps a folder from passing for another action's kind.
      action_(HashOf(std::to_string(settings.AfterRun) + "\n" + settings.AfterPath)),
      acts_(AfterRunFormat(settings.AfterRun).has_value()) {}

bool AfterRunConfirmation::Confirmed() const {
    return !acts_ || IniSnapshot(SettingsFilePath())
                             .Read(settings_keys::kAfterRunConfirmed, key_)
                             .value_or("") == action_;
}

Status AfterRunConfirmation::Confirm() const {
    if (!acts_ || Confirmed())
        return {};
    if (!IniFile(SettingsFilePath()).Write(settings_keys::kAfterRunConfirmed, key_, action_))
        return {std::make_error_code(std::errc::io_error),
                "cannot record the confirmation of the after-run action in the settings file '" +
                    SettingsFilePath() + "'"};
    return {};
}

}  // namespace zv
