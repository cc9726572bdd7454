#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "core/settings/SizePresets.h"

namespace zv {

// The largest capacity one medium can have: a petabyte is far beyond any disc
// or tape, and keeps every sum of a run exact in a double.
inline constexpr double kMaxCapacity = 1e15;

// A capacity as people write it beside plain bytes: a number with a unit
// ("700M", "4.7G", "25GB", "4.7 GB", "64KiB") or the short name of a kind of
// disc ("cd", "dvd", "dvd-dl", "bd", "bd-dl", in small letters, as preset
// names count their letter case). k, M, G, T and P are decimal (G = 10^9), as
// disc makers state their capacities; KiB, MiB, GiB and TiB are binary. A
// disc's name gives the capacity of the smaller of its recordable kinds (a
// "dvd" is a DVD+R), so that a plan fits either. Fractions of a byte are
// dropped. Nothing when the text is neither.
std::optional<double> ParseCapacity(std::string_view text);

// Bytes of a media size as the settings keep it: a number of bytes, the name
// of one of `presets`, or a capacity ParseCapacity reads, in this order.
// Nothing when the text is none of them.
std::optional<double> CapacityFromText(std::string_view text,
                                       const std::vector<SizePreset>& presets);

}  // namespace zv
