#include "desktop/mainwindow/MenuCaptions.h"

#include "core/settings/IniAccess.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr int kFirstMenuCaption = 60000;

}  // namespace

std::array<std::string, kMenuItemCount> MenuCaptions() {
    std::array<std::string, kMenuItemCount> captions;
    std::string unused;
    IniAccess(IniSelect, settings_keys::kMenuItem, "", unused, SettingsFilePath());
    for (int k = 0; k < kMenuItemCount; ++k) {
        std::string caption;
        if (!IniAccess(IniRead, "", "USR" + std::to_string(k), caption, ""))
            caption = ResString(kFirstMenuCaption + k);
        captions[k] = caption;
    }
    return captions;
}

}  // namespace zv
