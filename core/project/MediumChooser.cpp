#include "core/project/MediumChooser.h"

#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr int kMediumLead = 40091;  // " "
constexpr int kMediumTail = 40092;  // "枚目"
constexpr int kNotPlaced = 40084;   // " 未処理分"

}  // namespace

std::vector<std::string> MediumChooserEntries(const ProjectDocument& document) {
    std::vector<std::string> entries;
    for (int m = 1; m <= document.HighestMedium(); ++m)
        entries.push_back(ResString(kMediumLead) + std::to_string(m) + ResString(kMediumTail));
    entries.push_back(ResString(kNotPlaced));
    return entries;
}

int16_t MediumOfEntry(int position, const std::string& text) {
    return text == ResString(kNotPlaced) ? 0 : static_cast<int16_t>(position + 1);
}

}  // namespace zv
