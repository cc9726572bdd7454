#pragma once

#include <cstdint>
#include <vector>

#include "core/engine/ItemPool.h"

namespace zv {

class WorkMeter;

struct FillRules {
    Bytes capacity = 0;
    Bytes tolerance = 0;
    int maxItems = 1;
    int minItems = 0;
};

// Chooses remaining items of a pool that fill one medium as fully as possible: a depth-first
// subset-sum search over items largest first whose first descent is the greedy largest-first
// fill, so even a tiny budget gives a sensible medium; the budget then buys exchanges of the
// items chosen last, which is where the gap of a greedy fill can be closed.
class SubsetFill {
  public:
    struct Result {
        std::vector<int> positions;  // pool positions
        Bytes total = 0;
        bool valid = false;  // holds more than minItems items
    };

    SubsetFill(const FillRules& rules, std::int64_t nodeBudget)
        : rules_(rules), budget_(nodeBudget) {}

    // Stops early once the medium is full enough, the budget is spent, or the meter says stop;
    // with Finish it still completes the greedy descent.
    Result Run(ItemPool& pool, WorkMeter& meter) const;

  private:
    Result SmallestFirst(ItemPool& pool) const;
    void TakeEmptyItems(ItemPool& pool, std::vector<int>& positions) const;

    FillRules rules_;
    std::int64_t budget_;
};

}  // namespace zv
