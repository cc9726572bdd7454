#pragma once

#include <vector>

#include "core/engine/ItemPool.h"

namespace zv {

// The classic first-fit-decreasing packing, kept as the yardstick the packer must never lose
// to. A tree of the room left on each medium finds the first medium with enough room in
// logarithmic time, so it stays cheap for tens of thousands of items and media.
class FirstFitDecreasing {
  public:
    FirstFitDecreasing(Bytes capacity, int maxItems) : capacity_(capacity), maxItems_(maxItems) {}

    // Items must be sorted largest first and each fit a medium; returns item ids per medium.
    std::vector<std::vector<int>> Pack(const std::vector<PoolItem>& items) const;

  private:
    Bytes capacity_;
    int maxItems_;
};

}  // namespace zv
