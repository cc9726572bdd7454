#pragma once

#include <cstdint>
#include <vector>

#include "core/engine/RemainingItems.h"
#include "core/engine/RunParameters.h"
#include "core/engine/RunRequests.h"

namespace zv {

// One record of the search stack; see CombinationSearch for what it means.
struct StackRecord {
    int32_t Shift = 0;
    int32_t BaseLevel = 0;
    double Total = 0;

    bool operator==(const StackRecord&) const = default;
};

enum class CapacityStatus : int { AllFit = 1, Search = 3, TooFew = 7, NoneFits = 8 };

struct CapacityResult {
    CapacityStatus status;
    int k;  // items in every combination the search starts with
};

// What the driver of a medium's search does between steps: progress and
// yielding belong to whoever shows the run.
class SearchDisplay {
  public:
    virtual ~SearchDisplay() = default;
    // Normal search only: some steps ran and the search goes on.
    virtual void StepsDone() = 0;
    // A smaller combination size has started (both modes).
    virtual void SizeLowered() = 0;
    // Called about every CombinationSearch::kBatchSteps steps in both modes;
    // true ends the medium as if its best combination were good enough.
    virtual bool DeadlinePassed() = 0;
    // The pause request is set: wait a little, letting the user interface run.
    virtual void PauseWait() = 0;
};

// The choice of one medium's contents: a pruned enumeration of the combinations
// of k items, from the largest k that can fit down to smaller ones, stopping as
// soon as a combination comes within the tolerance of the capacity.
//
// Items are given largest first (position 0). A level counts from the small
// end: the item at level r sits at position N-1-r. The stack's bottom record
// is a sentinel (BaseLevel k, Shift N-k); record j above it is the j-th item of
// the combination, which started at level k-j (BaseLevel) and sits at level
// BaseLevel + Shift. The items of records not yet pushed stay at their start
// levels. Each record keeps the combination's total while it is the top, so a
// move costs one subtraction and one addition.
class CombinationSearch {
  public:
    // Steps the driver runs between two looks at the display and the clock.
    static constexpr int kBatchSteps = 1 << 16;

    CombinationSearch(const RunParameters& params, const RunRequests& requests,
                      SearchDisplay& display);

    // The sizes of the remaining items, largest first.
    void SetItemSizes(std::vector<double> sizes);
    // Drops the items at the positions, ascending, that a medium took; the
    // items left keep their order. The cost grows with the last position
    // taken, not with the items left, so a run of many media that each take
    // large items costs the same per medium however many are waiting.
    void RemoveItems(const std::vector<int>& positions);
    int ItemCount() const { return n_; }
    double ItemSize(int position) const { return levelSize_[n_ - 1 - position]; }

    CapacityResult CapacityBound() const;
    void ResetStack(int k);
    // One step of the enumeration; true when the medium's search of this size
    // (restart false) or the lowering of the size (restart true) finished.
    bool SearchStep(bool restart);
    // Runs the whole search of one medium after CapacityBound gave Search with
    // k. Returns false when the abort request ended it.
    bool SearchMedium(int k);

    bool GoodEnough() const { return goodEnough_; }
    int CurrentSize() const { return k_; }
    std::vector<StackRecord> BestStack() const;
    double BestTotal() const { return best_.back().total; }
    // Makes the current stack the medium's result (the smallest items when
    // the search found nothing).
    void TakeStackAsBest();
    // Makes the k largest items the medium's result (when everything fits).
    void TakeLargest(int k);
    // Slot 0 of the combination mirror: the position of the combination's
    // largest item as last synchronised. The progress display reads nothing else.
    int MirrorHead() const { return mirrorHead_; }
    int MarkShift() const { return markShift_; }
    int MarkLevel() const { return markLevel_; }
    // Search steps run since SetItemSizes.
    long long StepCount() const { return steps_; }

    // The positions, ascending, that a stack describes; {-1} when none.
    std::vector<int> StackToPositions(const std::vector<StackRecord>& stack) const;
    // The sum of the sizes at the positions, or -1 when it exceeds the media size.
    double ComboTotal(const std::vector<int>& positions) const;

  private:
    struct Record {
        int shift;
        int base;
        double total;
    };
    // The state the steps work on, copied into locals for a batch of steps so
    // that it lives in registers instead of being reloaded after every store.
    struct Walk;
    friend struct Walk;

    // Forgets the search of the last medium: its best, its stack and its steps.
    void Restart();
    Walk BeginWalk();
    void EndWalk(const Walk& walk);
    void SaveBest(const Record* stack, int top, int dirty);
    // Runs steps until one finishes or the batch is used up; true when one finished.
    bool RunBatch(int budget);

    const RunParameters& params_;
    const RunRequests& requests_;
    SearchDisplay& display_;
    RemainingItems<double> levelSize_{
        std::vector<double>{}};  // by level: index 0 is the smallest item
    int n_ = 0;
    int k_ = 0;
    std::vector<Record> stack_;
    int top_ = 0;
    std::vector<Record> best_;
    // Records below this index are the same in the stack and in best_, so a
    // new best only copies what changed since the last one.
    int bestDirty_ = 0;
    int markShift_ = 0;
    int markLevel_ = 0;
    bool goodEnough_ = false;
    int mirrorHead_ = 0;
    long long steps_ = 0;
};

}  // namespace zv
