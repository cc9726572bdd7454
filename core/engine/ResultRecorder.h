#pragma once

#include <vector>

#include "core/engine/CombinationSearch.h"
#include "core/engine/RunDisplay.h"
#include "core/engine/RunParameters.h"

namespace zv {

// Writes each medium the search has chosen into the work database: the table
// of its items, the table of its total, and the removal of its items from GP.
class ResultRecorder {
  public:
    ResultRecorder(const RunParameters& params, RunDisplay& display,
                   const CombinationSearch& search);

    // Records medium n. A medium is recorded whole or not at all: on a failure
    // its message is shown, nothing of it stays, and false is returned.
    bool RecordMedium(int n, const std::vector<StackRecord>& bestStack);

  private:
    const RunParameters& params_;
    RunDisplay& display_;
    const CombinationSearch& search_;
};

}  // namespace zv
