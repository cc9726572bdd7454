#pragma once

#include <cstdint>
#include <vector>

namespace zv {

using Bytes = std::int64_t;

struct PoolItem {
    Bytes size = 0;
    int id = 0;
};

// Items sorted largest first, from which chosen items are removed for good. The fill search asks
// "largest remaining item that still fits from here on" millions of times, so that question is
// answered in logarithmic time instead of by scanning past items that are gone or too large.
class ItemPool {
  public:
    explicit ItemPool(std::vector<PoolItem> items);

    int size() const { return static_cast<int>(items_.size()); }
    int AliveCount() const { return alive_; }
    Bytes SizeAt(int pos) const { return items_[pos].size; }
    int IdAt(int pos) const { return items_[pos].id; }

    // First remaining position >= from whose size is <= room; size() when there is none.
    int FirstFitting(int from, Bytes room);
    bool IsAlive(int pos) { return FindAlive(pos) == pos; }
    // First position after the run of items as large as the one at pos.
    int NextSmaller(int pos) const { return nextSmaller_[pos]; }
    // Total size of the remaining items at positions >= pos.
    Bytes AliveSumFrom(int pos) const;
    void Remove(int pos);

  private:
    int FindAlive(int pos);

    std::vector<PoolItem> items_;
    std::vector<int> nextSmaller_;
    std::vector<int> nextAlive_;  // union-find towards the next remaining position
    std::vector<Bytes> fenwick_;  // prefix sums of remaining sizes
    Bytes aliveTotal_ = 0;
    int alive_ = 0;
};

}  // namespace zv
