#pragma once

#include "core/platform/PlatformError.h"

namespace zv::test {

// The number of the error `act` throws, 0 when it throws none.
inline int ErrorNumber(const auto& act) {
    try {
        act();
    } catch (const PlatformError& error) {
        return error.Number();
    }
    return 0;
}

}  // namespace zv::test
