#pragma once

#include <cstdint>
#include <string>

#include "core/engine/PackingMethod.h"

namespace zv {

// The parameters of one packing run as a project keeps them.
struct RunSettings {
    // Capacity of one medium as the user entered it: a number of bytes or the
    // name of a size preset.
    std::string MediaSize;
    // Tolerated shortfall in bytes.
    double DiffSize = 0;
    // Largest number of media a run fills; 0 or less sets no limit.
    int16_t MediaNum = 0;
    // Largest and smallest number of list items on one medium (a medium must
    // hold more than MinFile items).
    int16_t MaxFile = 0;
    int16_t MinFile = 0;
    // Fast search.
    bool MaxSpeed = false;
    // After-run action and its folder: stored and loaded, never acted on.
    int16_t AfterRun = 0;
    std::string AfterPath;
    PackingMethod Method = PackingMethod::Sequential;

    bool operator==(const RunSettings&) const = default;
};

}  // namespace zv
