#pragma once

#include <cstdint>

namespace zv {

// How a run divides the items over the media. The numbers are the ones the
// settings file and the project file keep.
enum class PackingMethod : int16_t {
    // Medium after medium, each taking the combination of the remaining items
    // that comes closest to the capacity.
    Sequential = 0,
    // The whole collection at once, on as few media as it can, every medium
    // but the last as full as it can.
    FewestMedia = 1,
};

}  // namespace zv
