#pragma once

#include <cstdint>

#include "core/engine/FileSystemAllowance.h"
#include "core/engine/PackingMethod.h"

namespace zv {

// The run settings as the engine reads them during one run, the capacity
// resolved to bytes.
struct RunParameters {
    double capacityBytes = 0;
    // Largest number of media a run fills; 0 or less sets no limit.
    int32_t mediaCount = 0;
    // A medium holds more than minItems and at most maxItems items.
    int32_t minItems = 0;
    int32_t maxItems = 0;
    double tolerance = 0;  // bytes
    bool fastSearch = false;
    PackingMethod method = PackingMethod::Sequential;
    FileSystemAllowance fileSystem = FileSystemAllowance::None;
};

}  // namespace zv
