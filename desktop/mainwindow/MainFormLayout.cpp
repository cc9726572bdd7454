#include "desktop/mainwindow/MainFormLayout.h"

#include <string>

#include "core/platform/PlatformError.h"
#include "core/settings/IniFile.h"
#include "core/settings/IniSnapshot.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/ShowError.h"
#include "core/settings/TextNumber.h"

namespace zv {

namespace {

std::optional<double> ReadValue(const IniSnapshot& settings, const SettingsKey& key) {
    const auto text = settings.Read(key.section, key.name);
    if (!text)
        return std::nullopt;
    try {
        return TextToDouble(*text);
    } catch (const PlatformError& error) {
        ShowError(error);
        return std::nullopt;
    }
}

// A layout that cannot be stored only costs the next start its old place.
void WriteValue(const IniFile& settings, const SettingsKey& key, int value) {
    static_cast<void>(settings.Write(key.section, key.name, std::to_string(value)));
}

}  // namespace

MainFormLayout ReadMainFormLayout() {
    const IniSnapshot settings(SettingsFilePath());
    MainFormLayout layout;
    layout.top = ReadValue(settings, settings_keys::MainFormTop);
    layout.left = ReadValue(settings, settings_keys::MainFormLeft);
    layout.width = ReadValue(settings, settings_keys::MainFormWidth);
    layout.height = ReadValue(settings, settings_keys::MainFormHeight);
    return layout;
}

void WriteMainFormLayout(int top, int left, int width, int height) {
    const IniFile settings(SettingsFilePath());
    WriteValue(settings, settings_keys::MainFormTop, top);
    WriteValue(settings, settings_keys::MainFormLeft, left);
    WriteValue(settings, settings_keys::MainFormWidth, width);
    WriteValue(settings, settings_keys::MainFormHeight, height);
}

}  // namespace zv
