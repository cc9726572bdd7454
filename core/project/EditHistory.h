#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "core/project/ItemRecord.h"

namespace zv {

// The steps back and forward through the edits of a project's list. Each
// step keeps the list as it was: the items with their media, and the group
// that was open. What Cut marks is no edit and is not kept.
class EditHistory {
  public:
    struct State {
        std::vector<ItemRecord> items{ItemRecord()};
        std::string openGroup;
    };

    // Starts again from `now`, with nothing to undo or redo.
    void Reset(State now);
    // The list is now `now`: unless nothing but cut marks changed, the list
    // as it was becomes the step back, and the steps forward are gone.
    void Record(State now);

    bool CanUndo() const { return !back_.empty(); }
    bool CanRedo() const { return !forward_.empty(); }
    // The list to go back to, which becomes the one recorded. Only when
    // CanUndo; a change made since the last Record is to be recorded first.
    State Undo();
    // The list to go forward to again. Only when CanRedo.
    State Redo();

    // The oldest steps are forgotten beyond this many: a step may hold a
    // copy of tens of thousands of items.
    static constexpr std::size_t kMaxSteps = 100;

  private:
    State current_;
    std::deque<State> back_;
    std::deque<State> forward_;
};

}  // namespace zv
