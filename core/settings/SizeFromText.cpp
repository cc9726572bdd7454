#include "core/settings/SizeFromText.h"

#include "core/platform/UiServices.h"
#include "core/settings/IniSnapshot.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/SettingsValueError.h"
#include "core/settings/ShowError.h"
#include "core/settings/SizePresets.h"
#include "core/settings/TextNumber.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

double SizeFromText(const std::string& text) {
    if (const auto number = ParseNumber(text))
        return *number;

    // The file is read at every lookup, so edits to it count at once, but only
    // once per lookup, however many presets it holds.
    const IniSnapshot ini(SettingsFilePath());
    try {
        for (int k = 0;; ++k) {
            const auto value = ini.Value(settings_keys::kSizePresets, std::to_string(k));
            if (!value) {
                // The text is neither a number nor a preset name.
                ShowMessage(ResString(text_id::SizeDataMissing));
                return 0;
            }
            const auto preset = ParseSizePreset(*value);
            if (!preset)
                return 0;
            if (preset->name == text)
                return preset->capacity;
        }
    } catch (const SettingsValueError& error) {
        ShowError(error.Number(), error.BoxText());
        return 0;
    }
}

}  // namespace zv
