#include "core/engine/SubsetFill.h"

#include <algorithm>

#include "core/engine/WorkMeter.h"

namespace zv {

SubsetFill::Result SubsetFill::Run(ItemPool& pool, WorkMeter& meter) const {
    Result best;
    best.valid = rules_.minItems == 0;
    Bytes bestGap = rules_.capacity;
    const auto fullEnough = [&] { return best.valid && bestGap <= rules_.tolerance; };

    std::vector<int> stack;
    Bytes room = rules_.capacity;
    int from = 0;
    bool descending = true;  // the first, greedy descent always runs to its end
    std::int64_t nodes = 0;
    const int end = pool.size();
    while (!fullEnough()) {
        if (meter.aborted()) {
            break;
        }
        if (!descending && (nodes++ >= budget_ || meter.finishing())) {
            break;
        }
        meter.Step();
        int next = end;
        if (static_cast<int>(stack.size()) < rules_.maxItems) {
            next = pool.FirstFitting(from, room);
        }
        if (next != end && best.valid) {
            // Prune when even taking everything reachable from here cannot beat the best gap.
            const Bytes slots = rules_.maxItems - static_cast<Bytes>(stack.size());
            const Bytes reachable =
                std::min({room, pool.AliveSumFrom(next), slots * pool.SizeAt(next)});
            if (room - reachable >= bestGap) {
                next = end;
            }
        }
        if (next != end) {
            stack.push_back(next);
            room -= pool.SizeAt(next);
            from = next + 1;
            const bool valid = static_cast<int>(stack.size()) > rules_.minItems;
            if (valid && (!best.valid || room < bestGap)) {
                best.positions = stack;
                best.valid = true;
                bestGap = room;
                meter.SetBestFill(1.0 - static_cast<double>(room) / rules_.capacity);
            }
            continue;
        }
        if (stack.empty()) {
            break;
        }
        descending = false;
        const int last = stack.back();
        stack.pop_back();
        room += pool.SizeAt(last);
        // An equal item in place of the one just dropped would only repeat that subtree.
        from = pool.NextSmaller(last);
    }
    if (!best.valid && !meter.aborted()) {
        best = SmallestFirst(pool);
        bestGap = rules_.capacity - best.total;
    }
    best.total = rules_.capacity - bestGap;
    if (best.valid)
        TakeEmptyItems(pool, best.positions);
    return best;
}

// Empty items need no room, so the search never prefers them: a medium takes
// every one its item limit allows, and none is left over with nothing to share
// a medium with. The pool holds them at its end.
void SubsetFill::TakeEmptyItems(ItemPool& pool, std::vector<int>& positions) const {
    int firstEmpty = pool.size();
    while (firstEmpty > 0 && pool.SizeAt(firstEmpty - 1) == 0)
        --firstEmpty;
    std::vector<bool> taken(static_cast<size_t>(pool.size() - firstEmpty), false);
    for (const int pos : positions) {
        if (pos >= firstEmpty)
            taken[static_cast<size_t>(pos - firstEmpty)] = true;
    }
    for (int pos = firstEmpty;
         pos < pool.size() && static_cast<int>(positions.size()) < rules_.maxItems; ++pos) {
        if (!taken[static_cast<size_t>(pos - firstEmpty)] && pool.IsAlive(pos))
            positions.push_back(pos);
    }
}

// Under a minimum item count the largest-first search may run out of budget before it meets a
// valid combination; the smallest items give the most items per medium, so they are the last try.
SubsetFill::Result SubsetFill::SmallestFirst(ItemPool& pool) const {
    Result result;
    for (int pos = pool.size() - 1; pos >= 0; --pos) {
        if (static_cast<int>(result.positions.size()) >= rules_.maxItems) {
            break;
        }
        if (!pool.IsAlive(pos)) {
            continue;
        }
        if (result.total + pool.SizeAt(pos) > rules_.capacity) {
            break;
        }
        result.positions.push_back(pos);
        result.total += pool.SizeAt(pos);
    }
    result.valid = static_cast<int>(result.positions.size()) > rules_.minItems;
    return result;
}

}  // namespace zv
