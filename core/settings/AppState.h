#pragma once

#include <cstdint>
#include <string>

namespace zv {

struct RunRequests;

// What the whole program shares while it runs.
struct AppState {
    // Base caption of a new, unsaved project window; a number follows it.
    std::string untitledName;
    // Raised by each new project window.
    int16_t untitledCounter = 0;
    // Set while a run is in progress: no second run, no closing of windows.
    bool running = false;
    // The requests of the run in progress (pause, abort, finish), set by the
    // run dialog while a run goes on; none otherwise.
    RunRequests* runRequests = nullptr;
};

AppState& App();

}  // namespace zv
