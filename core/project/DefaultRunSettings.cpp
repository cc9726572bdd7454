#include "core/project/DefaultRunSettings.h"

#include "core/platform/PlatformError.h"
#include "core/settings/IniAccess.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/ShowError.h"
#include "core/settings/TextNumber.h"

namespace zv {

namespace keys = settings_keys;

RunSettings& DefaultRunSettings() {
    static RunSettings defaults;
    return defaults;
}

PackingMethod PackingMethodFromNumber(int16_t number) {
    switch (number) {
        case static_cast<int16_t>(PackingMethod::Sequential):
            return PackingMethod::Sequential;
        case static_cast<int16_t>(PackingMethod::FewestMedia):
            return PackingMethod::FewestMedia;
    }
    throw PlatformError::OutOfRange();
}

bool LoadDefaultRunSettings(RunSettings& settings) {
    std::string value;
    IniAccess(IniSelect, keys::kRunDefaults, "", value, SettingsFilePath());
    auto read = [&value](const SettingsKey& key) {
        if (IniAccess(IniRead, "", key.name, value, ""))
            return true;
        if (key.fallback == nullptr)
            return false;
        value = key.fallback;
        return true;
    };
    try {
        if (read(keys::MediaSize))
            settings.MediaSize = value;
        if (read(keys::DiffSize))
            settings.DiffSize = TextToDouble(value);
        if (read(keys::MediaNum))
            settings.MediaNum = TextToInt16(value);
        if (read(keys::MaxFile))
            settings.MaxFile = TextToInt16(value);
        if (read(keys::MinFile))
            settings.MinFile = TextToInt16(value);
        if (read(keys::MaxSpeed))
            settings.MaxSpeed = TextToInt16(value) != 0;
        if (read(keys::AfterRun))
            settings.AfterRun = TextToInt16(value);
        if (read(keys::AfterPath))
            settings.AfterPath = value;
        if (read(keys::Method))
            settings.Method = PackingMethodFromNumber(TextToInt16(value));
    } catch (const PlatformError& error) {
        ShowError(error);
        return false;
    }
    return true;
}

double LoadMediumTimeLimit() {
    std::string value;
    if (!IniAccess(IniRead, keys::MediumTimeLimit.section, keys::MediumTimeLimit.name, value,
                   SettingsFilePath()))
        value = keys::MediumTimeLimit.fallback;
    try {
        const double seconds = TextToDouble(value);
        return seconds > 0 ? seconds : 0;
    } catch (const PlatformError& error) {
        ShowError(error);
        return 0;
    }
}

}  // namespace zv
