#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/RunObserver.h"
#include "core/strings/StringTable.h"

namespace zv {

enum class RunEnd { Completed, Stopped, Failed };

// A text of the string table: its id, and the text to show, which carries
// the cause after the table's words where one is known.
struct RunMessage {
    int id = 0;
    std::string text;

    // The table's text of `id` as it stands.
    static RunMessage Of(int id) { return {id, ResString(id)}; }
};

// What a run decided. Nothing is shown by the run itself: the front end
// shows the message and takes the media into its items.
struct PlanRunResult {
    RunEnd end = RunEnd::Failed;
    // One medium number per item (0 = unplaced); filled when Completed.
    std::vector<int32_t> media;
    // Completed: why nothing was placed (too few items for the minimum, no
    // medium made); Failed: what failed, with its cause.
    std::optional<RunMessage> message;
    // Per medium, as the observer saw them.
    std::map<int, MediumReport> reports;
};

}  // namespace zv
