#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/project/ProjectDocument.h"

namespace zv {

// The entries of the result tab's medium chooser: " " + m + "枚目" for every
// medium from 1 to the highest, then " 未処理分" for the items not placed.
std::vector<std::string> MediumChooserEntries(const ProjectDocument& document);

// The medium number an entry stands for: its position plus one, or 0 for
// " 未処理分".
int16_t MediumOfEntry(int position, const std::string& text);

}  // namespace zv
