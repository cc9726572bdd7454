#include "core/project/DefaultRunSettings.h"

#include "core/platform/PlatformError.h"
#include "core/settings/IniAccess.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/ShowError.h"
#include "core/settings/TextNumber.h"

namespace zv {

RunSettings& DefaultRunSettings() {
    static RunSettings defaults;
    return defaults;
}

bool LoadDefaultRunSettings(RunSettings& settings) {
    std::string value;
    IniAccess(IniSelect, "DEFAULT_SET_RUN", "", value, SettingsFilePath());
    auto read = [&value](const char* key) { return IniAccess(IniRead, "", key, value, ""); };
    try {
        if (read("MediaSize"))
            settings.MediaSize = value;
        if (read("DiffSize"))
            settings.DiffSize = TextToDouble(value);
        if (read("MediaNum"))
            settings.MediaNum = TextToInt16(value);
        if (read("MaxFile"))
            settings.MaxFile = TextToInt16(value);
        if (read("MinFile"))
            settings.MinFile = TextToInt16(value);
        settings.MaxSpeed = read("MaxSpeed") ? TextToInt16(value) != 0 : true;
        if (read("AfterRun"))
            settings.AfterRun = TextToInt16(value);
        if (read("AfterPath"))
            settings.AfterPath = value;
    } catch (const PlatformError& error) {
        ShowError(error);
        return false;
    }
    return true;
}

}  // namespace zv
