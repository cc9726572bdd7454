#include "core/engine/RunDisplay.h"

#include <cstdio>
#include <utility>

#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// The medium number right-aligned the way the status lines show it: with the
// blank of the text before it, numbers up to 99 take three places.
std::string PaddedNumber(int n) {
    const std::string digits = std::to_string(n);
    const int blanks = 4 - (static_cast<int>(digits.size()) + 1);
    return std::string(blanks > 0 ? blanks : 0, ' ') + digits;
}

}  // namespace

void RunDisplay::SetStatus(const std::string& text) {
    observer_.StatusChanged(text);
}

void RunDisplay::SetBar(int bar, int min, int max, int value) {
    ProgressBarState& b = bars_[bar];
    if (b.min == min && b.max == max && b.value == value)
        return;
    b.min = min;
    b.max = max;
    b.value = value;
    Changed(bar);
}

void RunDisplay::SetValue(int bar, int value) {
    if (bars_[bar].value == value)
        return;
    bars_[bar].value = value;
    Changed(bar);
}

void RunDisplay::SetMin(int bar, int min) {
    if (bars_[bar].min == min)
        return;
    bars_[bar].min = min;
    Changed(bar);
}

void RunDisplay::ShowBar(int bar, bool visible) {
    if (bars_[bar].visible == visible)
        return;
    bars_[bar].visible = visible;
    Changed(bar);
}

void RunDisplay::MediumChosen(const MediumReport& report) {
    reports_[report.number] = report;
    observer_.MediumChosen(report);
}

std::string RunDisplay::MediumStatusText(int n) {
    return ResString(text_id::MediumSearchLead) + PaddedNumber(n) +
           ResString(text_id::MediumSearchTail);
}

std::string RunDisplay::SearchDetailText(int n, double seconds, double fill) {
    char secondsText[32];
    char fillText[32];
    std::snprintf(secondsText, sizeof secondsText, "%.1f", seconds);
    std::snprintf(fillText, sizeof fillText, "%.2f", fill * 100);
    std::string text = ResString(text_id::SearchDetail);
    const std::pair<const char*, std::string> fields[] = {
        {"%1", std::to_string(n)}, {"%2", secondsText}, {"%3", fillText}};
    for (const auto& [mark, value] : fields) {
        const size_t at = text.find(mark);
        if (at != std::string::npos)
            text.replace(at, 2, value);
    }
    return text;
}

std::string RunDisplay::RecordingStatusText(int n) {
    return ResString(text_id::MediumDoneLead) + PaddedNumber(n) +
           ResString(text_id::MediumDoneTail);
}

}  // namespace zv
