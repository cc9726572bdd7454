#include "core/project/MediumChooser.h"

#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

std::vector<std::string> MediumChooserEntries(const ProjectDocument& document) {
    std::vector<std::string> entries;
    for (int m = 1; m <= document.HighestMedium(); ++m)
        entries.push_back(ResString(text_id::MediumChoiceLead) + std::to_string(m) +
                          ResString(text_id::MediumChoiceTail));
    entries.push_back(ResString(text_id::NotPlacedChoice));
    return entries;
}

int16_t MediumOfEntry(int position, const std::string& text) {
    return text == ResString(text_id::NotPlacedChoice) ? 0 : static_cast<int16_t>(position + 1);
}

}  // namespace zv
