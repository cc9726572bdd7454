#include "desktop/mainwindow/MainFormLayout.h"

#include <string>

#include "core/platform/PlatformError.h"
#include "core/settings/IniAccess.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/ShowError.h"
#include "core/settings/TextNumber.h"

namespace zv {

namespace {

std::optional<double> ReadValue(const SettingsKey& key) {
    std::string text;
    if (!IniAccess(IniRead, "", key.name, text, ""))
        return std::nullopt;
    try {
        return TextToDouble(text);
    } catch (const PlatformError& error) {
        ShowError(error);
        return std::nullopt;
    }
}

void WriteValue(const SettingsKey& key, int value) {
    std::string text = std::to_string(value);
    IniAccess(IniWrite, "", key.name, text, "");
}

}  // namespace

MainFormLayout ReadMainFormLayout() {
    std::string unused;
    IniAccess(IniSelect, settings_keys::kMainForm, "", unused, SettingsFilePath());
    MainFormLayout layout;
    layout.top = ReadValue(settings_keys::MainFormTop);
    layout.left = ReadValue(settings_keys::MainFormLeft);
    layout.width = ReadValue(settings_keys::MainFormWidth);
    layout.height = ReadValue(settings_keys::MainFormHeight);
    return layout;
}

void WriteMainFormLayout(int top, int left, int width, int height) {
    std::string unused;
    IniAccess(IniSelect, settings_keys::kMainForm, "", unused, SettingsFilePath());
    WriteValue(settings_keys::MainFormTop, top);
    WriteValue(settings_keys::MainFormLeft, left);
    WriteValue(settings_keys::MainFormWidth, width);
    WriteValue(settings_keys::MainFormHeight, height);
}

}  // namespace zv
