#include "core/engine/FirstFitDecreasing.h"

#include <algorithm>

namespace zv {

std::vector<std::vector<int>> FirstFitDecreasing::Pack(const std::vector<PoolItem>& items) const {
    const int n = static_cast<int>(items.size());
    int leaves = 1;
    while (leaves < n) {
        leaves *= 2;
    }
    // Each leaf is one medium, opened or not; a medium at its item limit reports no room.
    std::vector<Bytes> room(2 * leaves, capacity_);
    std::vector<std::vector<int>> media;
    for (const PoolItem& item : items) {
        int node = 1;
        while (node < leaves) {
            node = room[2 * node] >= item.size ? 2 * node : 2 * node + 1;
        }
        const int medium = node - leaves;
        if (medium == static_cast<int>(media.size())) {
            media.emplace_back();
        }
        media[medium].push_back(item.id);
        room[node] -= item.size;
        if (static_cast<int>(media[medium].size()) >= maxItems_) {
            room[node] = -1;
        }
        for (node /= 2; node >= 1; node /= 2) {
            room[node] = std::max(room[2 * node], room[2 * node + 1]);
        }
    }
    return media;
}

}  // namespace zv
