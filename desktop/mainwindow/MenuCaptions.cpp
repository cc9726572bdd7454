#include "desktop/mainwindow/MenuCaptions.h"

#include "core/settings/IniAccess.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr int kFirstMenuCaption = 60000;

int DefaultCaption(int k) {
    return k == menu_k::Export ? text_id::ExportMenuCaption : kFirstMenuCaption + k;
}

}  // namespace

std::array<std::string, kMenuItemCount> MenuCaptions() {
    std::array<std::string, kMenuItemCount> captions;
    std::string unused;
    IniAccess(IniSelect, settings_keys::kMenuItem, "", unused, SettingsFilePath());
    for (int k = 0; k < kMenuItemCount; ++k) {
        std::string caption;
        if (!IniAccess(IniRead, "", "USR" + std::to_string(k), caption, ""))
            caption = ResString(DefaultCaption(k));
        captions[k] = caption;
    }
    return captions;
}

}  // namespace zv
