#include "desktop/mainwindow/MainFormLayout.h"

#include <string>

#include "core/platform/PlatformError.h"
#include "core/settings/IniAccess.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/ShowError.h"
#include "core/settings/TextNumber.h"

namespace zv {

namespace {

constexpr const char* kSection = "LASTMAINFORM";

std::optional<double> ReadValue(const std::string& key) {
    std::string text;
    if (!IniAccess(IniRead, "", key, text, ""))
        return std::nullopt;
    try {
        return TextToDouble(text);
    } catch (const PlatformError& error) {
        ShowError(error);
        return std::nullopt;
    }
}

void WriteValue(const std::string& key, int value) {
    std::string text = std::to_string(value);
    IniAccess(IniWrite, "", key, text, "");
}

}  // namespace

MainFormLayout ReadMainFormLayout() {
    std::string unused;
    IniAccess(IniSelect, kSection, "", unused, SettingsFilePath());
    MainFormLayout layout;
    layout.top = ReadValue("TOP");
    layout.left = ReadValue("LEFT");
    layout.width = ReadValue("WIDTH");
    layout.height = ReadValue("HEIGHT");
    return layout;
}

void WriteMainFormLayout(int top, int left, int width, int height) {
    std::string unused;
    IniAccess(IniSelect, kSection, "", unused, SettingsFilePath());
    WriteValue("TOP", top);
    WriteValue("LEFT", left);
    WriteValue("WIDTH", width);
    WriteValue("HEIGHT", height);
}

}  // namespace zv
