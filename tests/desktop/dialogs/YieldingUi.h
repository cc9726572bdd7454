#pragma once

#include <functional>

#include "tests/support/ScriptedUi.h"

namespace zv::test {

// Scripted services whose yields are the moments the test acts, as a user
// does while the program lets the events run. `now` tells a forced yield
// (YieldNow, as a paused run makes) from a time-sliced one.
class YieldingUi : public ScriptedUi {
  public:
    std::function<void(bool now)> onYield;

    void Yield() override {
        ScriptedUi::Yield();
        if (onYield)
            onYield(false);
    }
    void YieldNow() override {
        ScriptedUi::YieldNow();
        if (onYield)
            onYield(true);
    }
};

}  // namespace zv::test
