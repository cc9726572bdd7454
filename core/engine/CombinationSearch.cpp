#include "core/engine/CombinationSearch.h"

#include <algorithm>

namespace zv {

namespace {

StackRecord ToStackRecord(int shift, int base, double total) {
    return {static_cast<int32_t>(shift), static_cast<int32_t>(base), total};
}

}  // namespace

struct CombinationSearch::Walk {
    CombinationSearch* owner;
    Record* stack;
    const double* size;  // by level
    int top;
    int k;
    int n;
    int markShift;
    int markLevel;
    int mirrorHead;
    int dirty;  // lowest record changed since the last new best
    double bestTotal;
    double mediaSize;
    double tolerance;
    bool goodEnough;

    bool Descend() {
        const Record& t = stack[top];
        const int b = t.base;
        if (b <= 0)
            return false;
        stack[top + 1] = {1, b - 1, t.total - size[b - 1] + size[b]};
        ++top;
        dirty = std::min(dirty, top);
        return true;
    }

    bool AdvanceTop() {
        if (top == 0)
            return false;
        Record& t = stack[top];
        if (stack[top - 1].shift == t.shift)
            return false;
        const int level = t.base + t.shift;
        t.total = t.total - size[level] + size[level + 1];
        ++t.shift;
        dirty = std::min(dirty, top);
        return true;
    }

    bool Backtrack() {
        for (;;) {
            if (top == 0)
                return false;
            --top;
            if (AdvanceTop())
                return true;
        }
    }

    // The moves of a step: false when the enumeration of this size is exhausted.
    bool Move() { return Descend() || AdvanceTop() || Backtrack(); }

    // The part of a step after the move: prune, then evaluate the top. Returns
    // the finished flag.
    bool Finish(bool finished) {
        const Record& t = stack[top];
        if (t.base <= markLevel && t.shift >= markShift) {
            // Once an item at this level and shift overflowed, moving the
            // smaller items further up can only overflow again.
            if (!Backtrack())
                finished = true;
        }
        if (finished)
            return true;

        const double total = stack[top].total;
        if (total > mediaSize) {
            markLevel = stack[top].base;
            markShift = stack[top].shift;
            if (!Backtrack())
                return true;
            SyncMirror();
            return false;
        }
        if (total > bestTotal) {
            bestTotal = total;
            owner->SaveBest(stack, top, dirty);
            dirty = top + 1;
            if (tolerance + total >= mediaSize) {
                goodEnough = true;
                return true;
            }
        }
        return false;
    }

    // Only slot 0 of the mirror is ever shown: it changes when the top is the
    // record of the combination's largest item, or the bottom.
    void SyncMirror() {
        if (top == 1) {
            mirrorHead = n - 1 - (stack[1].base + stack[1].shift);
        } else if (top == 0) {
            mirrorHead = n - k;
        }
    }
};

CombinationSearch::CombinationSearch(const RunParameters& params, const RunRequests& requests,
                                     SearchDisplay& display)
    : params_(params), requests_(requests), display_(display) {}

void CombinationSearch::SetItemSizes(std::vector<double> sizes) {
    std::reverse(sizes.begin(), sizes.end());
    levelSize_ = RemainingItems<double>(std::move(sizes));
    n_ = static_cast<int>(levelSize_.size());
    Restart();
}

void CombinationSearch::RemoveItems(const std::vector<int>& positions) {
    std::vector<int> levels(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        levels[positions.size() - 1 - i] = n_ - 1 - positions[i];
    levelSize_.Erase(levels);
    n_ = static_cast<int>(levelSize_.size());
    Restart();
}

void CombinationSearch::Restart() {
    best_.assign(1, Record{0, 0, 0});
    bestDirty_ = 0;
    top_ = 0;
    k_ = 0;
    steps_ = 0;
}

CapacityResult CombinationSearch::CapacityBound() const {
    // f: how many of the smallest items fit together; a set that fills the
    // medium exactly fits.
    double total = 0;
    int f = -1;
    for (int level = 0; level < n_; ++level) {
        total += levelSize_[level];
        if (total > params_.capacityBytes) {
            f = level;
            break;
        }
    }
    if (f < 0) {
        // Everything fits: the medium takes the largest items the limits allow.
        const int k = std::min<int>(n_, params_.maxItems);
        if (k <= params_.minItems)
            return {CapacityStatus::TooFew, k};
        return {CapacityStatus::AllFit, k};
    }

    const int k = f > params_.maxItems ? params_.maxItems : f;
    if (k == 0)
        return {CapacityStatus::NoneFits, k};
    if (k <= params_.minItems)
        return {CapacityStatus::TooFew, k};
    return {CapacityStatus::Search, k};
}

void CombinationSearch::ResetStack(int k) {
    k_ = k;
    std::vector<int> smallest;
    smallest.reserve(k);
    for (int position = n_ - k; position < n_; ++position)
        smallest.push_back(position);
    // The bottom record and one for each item of the combination.
    if (stack_.size() < static_cast<std::size_t>(k) + 1)
        stack_.resize(static_cast<std::size_t>(k) + 1);
    stack_[0] = {n_ - k, k, ComboTotal(smallest)};
    top_ = 0;
    bestDirty_ = 0;
    mirrorHead_ = n_ - k;
}

CombinationSearch::Walk CombinationSearch::BeginWalk() {
    return Walk{this,
                stack_.data(),
                levelSize_.data(),
                top_,
                k_,
                n_,
                markShift_,
                markLevel_,
                mirrorHead_,
                bestDirty_,
                best_.back().total,
                params_.capacityBytes,
                params_.tolerance,
                goodEnough_};
}

void CombinationSearch::EndWalk(const Walk& walk) {
    top_ = walk.top;
    markShift_ = walk.markShift;
    markLevel_ = walk.markLevel;
    mirrorHead_ = walk.mirrorHead;
    bestDirty_ = walk.dirty;
    goodEnough_ = walk.goodEnough;
}

void CombinationSearch::SaveBest(const Record* stack, int top, int dirty) {
    const int from = std::min(dirty, top + 1);
    best_.resize(top + 1);
    std::copy(stack + from, stack + top + 1, best_.begin() + from);
}

void CombinationSearch::TakeLargest(int k) {
    ResetStack(k);
    if (k < n_) {
        // Record j holds the j-th largest item: from its start level k-j it
        // has moved up by n-k.
        stack_[0].total = 0;
        for (int position = 0; position < k; ++position)
            stack_[0].total += ItemSize(position);
        for (int j = 1; j <= k; ++j)
            stack_[j] = {n_ - k, k - j, stack_[0].total};
        top_ = k;
    }
    TakeStackAsBest();
}

void CombinationSearch::TakeStackAsBest() {
    best_.assign(stack_.begin(), stack_.begin() + top_ + 1);
    bestDirty_ = top_ + 1;
}

bool CombinationSearch::SearchStep(bool restart) {
    if (!restart)
        return RunBatch(1);

    // Lower the size of the combinations by one.
    ++steps_;
    goodEnough_ = false;
    if (k_ <= 2)
        return true;
    if (params_.fastSearch && BestTotal() > 0) {
        goodEnough_ = true;
        return true;
    }
    --k_;
    if (k_ - 1 <= params_.minItems)
        return true;
    ResetStack(k_);
    markShift_ = 0;
    markLevel_ = 0;
    // The new size's first combination, its k smallest items, is evaluated
    // in this same step.
    Walk walk = BeginWalk();
    const bool finished = walk.Finish(false);
    EndWalk(walk);
    return finished;
}

bool CombinationSearch::RunBatch(int budget) {
    Walk walk = BeginWalk();
    walk.goodEnough = false;
    bool finished = false;
    long long done = 0;
    while (done < budget) {
        ++done;
        if (requests_.pause || requests_.abort || requests_.finish) {
            while (requests_.pause && !requests_.abort)
                display_.PauseWait();
            if (requests_.abort) {
                finished = true;
                break;
            }
            if (requests_.finish) {
                walk.goodEnough = true;
                finished = true;
                break;
            }
        }
        if (walk.Finish(!walk.Move())) {
            finished = true;
            break;
        }
    }
    EndWalk(walk);
    steps_ += done;
    return finished;
}

bool CombinationSearch::SearchMedium(int k) {
    ResetStack(k);
    best_.assign(1, Record{0, 0, 0});
    markShift_ = 0;
    markLevel_ = 0;
    goodEnough_ = false;
    for (;;) {
        // A step that does not finish is always followed by a plain step, so
        // plain steps run in batches between looks at the display.
        while (!RunBatch(kBatchSteps)) {
            if (!params_.fastSearch)
                display_.StepsDone();
            if (display_.DeadlinePassed()) {
                goodEnough_ = true;
                break;
            }
        }
        if (goodEnough_)
            return true;
        if (requests_.abort)
            return false;
        if (SearchStep(true))
            return true;
        display_.SizeLowered();
    }
}

std::vector<StackRecord> CombinationSearch::BestStack() const {
    std::vector<StackRecord> stack;
    for (const Record& r : best_)
        stack.push_back(ToStackRecord(r.shift, r.base, r.total));
    return stack;
}

std::vector<int> CombinationSearch::StackToPositions(const std::vector<StackRecord>& stack) const {
    // Each record above the bottom holds one item at level BaseLevel + Shift,
    // and the top's BaseLevel smallest items still sit at their start levels.
    // Records keep their items in strictly rising positions, so the list comes
    // out in ascending order.
    std::vector<int> positions;
    for (size_t j = 1; j < stack.size(); ++j) {
        positions.push_back(n_ - 1 - (stack[j].BaseLevel + stack[j].Shift));
    }
    const int smallest = stack.empty() ? 0 : stack.back().BaseLevel;
    for (int position = n_ - smallest; position < n_; ++position)
        positions.push_back(position);
    if (positions.empty())
        positions.push_back(-1);
    return positions;
}

double CombinationSearch::ComboTotal(const std::vector<int>& positions) const {
    double total = 0;
    for (int position : positions)
        total += ItemSize(position);
    return total > params_.capacityBytes ? -1 : total;
}

}  // namespace zv
