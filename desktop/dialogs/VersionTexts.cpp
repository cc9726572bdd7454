#include "desktop/dialogs/VersionTexts.h"

#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr int kVersionWord = 41045;  // "Version "
constexpr int kFreeware = 41046;     // "これはフリーウェアです"
constexpr int kNoLiability = 41047;  // "このソフトウェアを使用することによる如何なる損害も"
constexpr int kNotResponsible = 41048;  // "はその責任を負いかねます"
constexpr int kRights = 41051;
constexpr int kAuthor = 41052;

}  // namespace

std::string VersionText(int major, int minor, int revision) {
    const std::string digits = std::to_string(revision);
    return ResString(kVersionWord) + std::to_string(major) + "." + std::to_string(minor) +
           (digits.size() < 2 ? "0" : "") + digits;
}

std::string RightsNotice() {
    return ResString(kRights);
}

std::string DisclaimerText() {
    return ResString(kFreeware) + "\r\n" + ResString(kNoLiability) + "\r\n" + ResString(kAuthor) +
           ResString(kNotResponsible);
}

}  // namespace zv
