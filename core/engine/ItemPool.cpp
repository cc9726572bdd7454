#include "core/engine/ItemPool.h"

#include <algorithm>

namespace zv {

ItemPool::ItemPool(std::vector<PoolItem> items) : items_(std::move(items)) {
    std::sort(items_.begin(), items_.end(), [](const PoolItem& a, const PoolItem& b) {
        return a.size != b.size ? a.size > b.size : a.id < b.id;
    });
    const int n = size();
    alive_ = n;
    nextSmaller_.assign(n, n);
    for (int i = n - 2; i >= 0; --i) {
        nextSmaller_[i] = items_[i].size == items_[i + 1].size ? nextSmaller_[i + 1] : i + 1;
    }
    nextAlive_.resize(n + 1);
    for (int i = 0; i <= n; ++i) {
        nextAlive_[i] = i;
    }
    // Linear-time Fenwick build: each node pushes its partial sum to its parent once.
    fenwick_.assign(n + 1, 0);
    for (int i = 1; i <= n; ++i) {
        fenwick_[i] += items_[i - 1].size;
        aliveTotal_ += items_[i - 1].size;
        const int parent = i + (i & -i);
        if (parent <= n) {
            fenwick_[parent] += fenwick_[i];
        }
    }
}

int ItemPool::FindAlive(int pos) {
    while (nextAlive_[pos] != pos) {
        nextAlive_[pos] = nextAlive_[nextAlive_[pos]];
        pos = nextAlive_[pos];
    }
    return pos;
}

int ItemPool::FirstFitting(int from, Bytes room) {
    const auto firstSmallEnough =
        std::partition_point(items_.begin() + from, items_.end(),
                             [room](const PoolItem& item) { return item.size > room; });
    return FindAlive(static_cast<int>(firstSmallEnough - items_.begin()));
}

Bytes ItemPool::AliveSumFrom(int pos) const {
    Bytes before = 0;
    for (int i = pos; i > 0; i -= i & -i) {
        before += fenwick_[i];
    }
    return aliveTotal_ - before;
}

void ItemPool::Remove(int pos) {
    nextAlive_[pos] = pos + 1;
    --alive_;
    aliveTotal_ -= items_[pos].size;
    for (int i = pos + 1; i < static_cast<int>(fenwick_.size()); i += i & -i) {
        fenwick_[i] -= items_[pos].size;
    }
}

}  // namespace zv
