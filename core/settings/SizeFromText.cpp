#include "core/settings/SizeFromText.h"

#include "core/platform/UiServices.h"
#include "core/settings/CapacityText.h"
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

namespace {

// No medium is that large: such a size is no capacity at all.
double WithinReach(double bytes) {
    return bytes > kMaxCapacity ? 0 : bytes;
}

}  // namespace

double SizeFromText(const std::string& text) {
    if (const auto number = ParseNumber(text))
        return WithinReach(*number);

    // The file is read at every lookup, so edits to it count at once, but only
    // once per lookup, however many presets it holds.
    const IniSnapshot ini(SettingsFilePath());
    try {
        for (int k = 0;; ++k) {
            const auto value = ini.Value(settings_keys::kSizePresets, std::to_string(k));
            if (!value)
                break;
            const auto preset = ParseSizePreset(*value);
            if (!preset)
                return WithinReach(ParseCapacity(text).value_or(0));
            if (preset->name == text)
                return WithinReach(preset->capacity);
        }
    } catch (const SettingsValueError& error) {
        ShowError(error.Number(), error.BoxText());
        return 0;
    }
    if (const auto capacity = ParseCapacity(text))
        return WithinReach(*capacity);
    // The text is neither a number, nor a preset name, nor a capacity with a unit.
    ShowMessage(ResString(text_id::SizeDataMissing));
    return 0;
}

}  // namespace zv
