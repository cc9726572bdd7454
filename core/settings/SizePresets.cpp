#include "core/settings/SizePresets.h"

#include "core/settings/IniSnapshot.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/TextNumber.h"

namespace zv {

std::optional<SizePreset> ParseSizePreset(std::string_view text) {
    const auto hash = text.find('#');
    if (hash == std::string_view::npos)
        return std::nullopt;
    const auto capacity = ParseNumber(text.substr(hash + 1));
    if (!capacity)
        return std::nullopt;
    return SizePreset{std::string(text.substr(0, hash)), *capacity};
}

std::vector<SizePreset> ReadSizePresets() {
    const IniSnapshot ini(SettingsFilePath());
    std::vector<SizePreset> presets;
    for (int k = 0;; ++k) {
        const auto value = ini.Value(settings_keys::kSizePresets, std::to_string(k));
        if (!value)
            break;
        auto preset = ParseSizePreset(*value);
        if (!preset)
            break;
        presets.push_back(std::move(*preset));
    }
    return presets;
}

}  // namespace zv
