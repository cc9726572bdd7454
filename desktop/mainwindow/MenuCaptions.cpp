#include "desktop/mainwindow/MenuCaptions.h"

#include "core/settings/IniSnapshot.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr int kFirstMenuCaption = 60000;

int DefaultCaption(int k) {
    switch (k) {
        case menu_k::Export:
            return text_id::ExportMenuCaption;
        case menu_k::Undo:
            return text_id::UndoMenuCaption;
        case menu_k::Redo:
            return text_id::RedoMenuCaption;
        case menu_k::UndoSeparator:
            return text_id::MenuSeparator;
        default:
            return kFirstMenuCaption + k;
    }
}

}  // namespace

std::array<std::string, kMenuItemCount> MenuCaptions() {
    std::array<std::string, kMenuItemCount> captions;
    const IniSnapshot settings(SettingsFilePath());
    for (int k = 0; k < kMenuItemCount; ++k) {
        captions[k] = settings.Read(settings_keys::kMenuItem, "USR" + std::to_string(k))
                          .value_or(ResString(DefaultCaption(k)));
    }
    return captions;
}

}  // namespace zv
