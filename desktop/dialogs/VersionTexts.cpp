#include "desktop/dialogs/VersionTexts.h"

#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

std::string VersionText(int major, int minor, int revision) {
    const std::string digits = std::to_string(revision);
    return ResString(text_id::VersionWord) + std::to_string(major) + "." + std::to_string(minor) +
           (digits.size() < 2 ? "0" : "") + digits;
}

std::string RightsNotice() {
    return ResString(text_id::CopyrightLine);
}

std::string DisclaimerText() {
    return ResString(text_id::FreewareNote) + "\r\n" + ResString(text_id::NoLiabilityLead) +
           "\r\n" + ResString(text_id::AuthorName) + ResString(text_id::NoLiabilityTail);
}

std::string SettingsFileText(const SettingsLocation& settings) {
    return ResString(text_id::SettingsFileLead) + settings.path +
           (settings.besideProgram ? ResString(text_id::SettingsBesideProgram) : "");
}

}  // namespace zv
