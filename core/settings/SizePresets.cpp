#include "core/settings/SizePresets.h"

#include "core/settings/IniAccess.h"
#include "core/settings/ProgramPaths.h"
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
    std::vector<SizePreset> presets;
    const std::string file = SettingsFilePath();
    for (int k = 0;; ++k) {
        std::string value;
        if (!IniAccess(IniRead, "MSizeSet", std::to_string(k), value, file))
            break;
        auto preset = ParseSizePreset(value);
        if (!preset)
            break;
        presets.push_back(std::move(*preset));
    }
    return presets;
}

}  // namespace zv
