#pragma once

namespace zv {

// What the person watching a run has asked for. Set by button handlers while
// the engine yields, read by the engine at every search step.
struct RunRequests {
    bool pause = false;
    bool abort = false;
    // End the medium being searched with the best combination found so far and
    // go on with the next medium.
    bool finish = false;
};

}  // namespace zv
