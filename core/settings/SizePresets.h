#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

struct SizePreset {
    std::string name;
    double capacity = 0;  // bytes
};

// A preset as the settings file keeps it, "name#bytes": the name before the
// first "#", the capacity after it. Nothing when there is no "#" or the
// capacity is no number.
std::optional<SizePreset> ParseSizePreset(std::string_view text);

// The size presets of the settings file in key order, up to the first missing
// key, from one reading of the file. A value without "#" or with a capacity
// that is no number ends the list. Throws SettingsValueError when the file
// cannot be read.
std::vector<SizePreset> ReadSizePresets();

}  // namespace zv
