#pragma once

#include <atomic>

namespace zv {

// What the person watching a run has asked for. Set by button handlers while
// the engine yields, or by a signal handler at any moment; read by the engine
// at every search step. Atomic, so that a request made outside the engine's
// thread of control (a signal) is seen at the next step.
struct RunRequests {
    std::atomic<bool> pause = false;
    std::atomic<bool> abort = false;
    // End the medium being searched with the best combination found so far and
    // go on with the next medium.
    std::atomic<bool> finish = false;

    static_assert(std::atomic<bool>::is_always_lock_free, "requests are set from signal handlers");
};

}  // namespace zv
