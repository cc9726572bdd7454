#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/engine/CombinationSearch.h"

namespace zv {
namespace {

RunParameters Params(double mediaSize, double tolerance = 0, int minItems = 0, int maxItems = 32766,
                     bool fast = false) {
    RunParameters p;
    p.capacityBytes = mediaSize;
    p.tolerance = tolerance;
    p.minItems = static_cast<int16_t>(minItems);
    p.maxItems = static_cast<int16_t>(maxItems);
    p.fastSearch = fast;
    return p;
}

// A plain, step-by-step rendering of the search to check the engine's batched
// one against: same moves, same pruning, no batching.
class PlainSearch {
  public:
    PlainSearch(std::vector<double> sizesLargestFirst, const RunParameters& params)
        : sizes_(std::move(sizesLargestFirst)), p_(params), n_(static_cast<int>(sizes_.size())) {}

    // The whole medium, as the driver loop runs it; records each size tried.
    void SearchMedium(int k) {
        ResetStack(k);
        best_ = {StackRecord{}};
        markShift_ = markLevel_ = 0;
        sizesTried_ = {k};
        for (;;) {
            if (!Step(false))
                continue;
            if (goodEnough_ || Step(true))
                break;
            sizesTried_.push_back(k_);
        }
    }

    std::vector<StackRecord> best_;
    int markShift_ = 0, markLevel_ = 0, mirror0_ = 0;
    bool goodEnough_ = false;
    long long steps_ = 0;
    std::vector<int> sizesTried_;

  private:
    double Level(int r) const { return sizes_[n_ - 1 - r]; }
    void ResetStack(int k) {
        k_ = k;
        double total = 0;
        for (int pos = n_ - k; pos < n_; ++pos)
            total += sizes_[pos];
        stack_ = {{static_cast<int16_t>(n_ - k), static_cast<int16_t>(k),
                   total > p_.capacityBytes ? -1 : total}};
        mirror0_ = n_ - k;
    }
    bool Descend() {
        const StackRecord t = stack_.back();
        if (t.BaseLevel <= 0)
            return false;
        const int b = t.BaseLevel;
        stack_.push_back({1, static_cast<int16_t>(b - 1), t.Total - Level(b - 1) + Level(b)});
        return true;
    }
    bool AdvanceTop() {
        StackRecord& t = stack_.back();
        if (stack_.size() < 2 || stack_[stack_.size() - 2].Shift == t.Shift)
            return false;
        t.Total = t.Total - Level(t.BaseLevel + t.Shift) + Level(t.BaseLevel + t.Shift + 1);
        ++t.Shift;
        return true;
    }
    bool Backtrack() {
        while (stack_.size() > 1) {
            stack_.pop_back();
            if (AdvanceTop())
                return true;
        }
        return false;
    }
    bool Step(bool restart) {
        ++steps_;
        goodEnough_ = false;
        bool finished = false;
        if (restart) {
            if (k_ < 3)
                return true;
            if (p_.fastSearch && best_.back().Total > 0)
                return goodEnough_ = true;
            if (--k_ - 1 <= p_.minItems)
                return true;
            ResetStack(k_);
            markShift_ = markLevel_ = 0;
        } else if (!Descend() && !AdvanceTop() && !Backtrack()) {
            finished = true;
        }
        const StackRecord& t = stack_.back();
        if (t.BaseLevel <= markLevel_ && t.Shift >= markShift_ && !Backtrack())
            finished = true;
        if (finished)
            return true;
        const StackRecord top = stack_.back();
        if (top.Total > p_.capacityBytes) {
            markLevel_ = top.BaseLevel;
            markShift_ = top.Shift;
            if (!Backtrack())
                return true;
            const StackRecord now = stack_.back();
            if (stack_.size() == 1)
                mirror0_ = n_ - k_;
            else if (now.BaseLevel == k_ - 1)
                mirror0_ = n_ - 1 - (now.BaseLevel + now.Shift);
            return false;
        }
        if (top.Total > best_.back().Total) {
            best_ = stack_;
            if (p_.tolerance + top.Total >= p_.capacityBytes)
                return goodEnough_ = true;
        }
        return false;
    }

    std::vector<double> sizes_;
    RunParameters p_;
    int n_;
    int k_ = 0;
    std::vector<StackRecord> stack_;
};

// Records what the driver shows, and can pause or stop the search on cue.
class RecordingDisplay : public SearchDisplay {
  public:
    explicit RecordingDisplay(RunRequests& requests) : requests_(requests) {}
    void StepsDone() override {}
    void SizeLowered() override { sizes.push_back(search->CurrentSize()); }
    bool DeadlinePassed() override { return deadline; }
    void PauseWait() override {
        if (++pauseWaits == 3)
            requests_.pause = false;
    }

    const CombinationSearch* search = nullptr;
    std::vector<int> sizes;
    int pauseWaits = 0;
    bool deadline = false;

  private:
    RunRequests& requests_;
};

struct Fixture {
    Fixture(std::vector<double> sizes, RunParameters p)
        : params(p), display(requests), search(params, requests, display) {
        display.search = &search;
        search.SetItemSizes(std::move(sizes));
    }
    // Runs the medium's search from CapacityBound; the positions chosen.
    std::vector<int> Run() {
        const CapacityResult bound = search.CapacityBound();
        EXPECT_EQ(bound.status, CapacityStatus::Search);
        display.sizes.insert(display.sizes.begin(), bound.k);
        EXPECT_TRUE(search.SearchMedium(bound.k));
        return search.StackToPositions(search.BestStack());
    }

    RunParameters params;
    RunRequests requests;
    RecordingDisplay display;
    CombinationSearch search;
};

TEST(CombinationSearchTest, CapacityBoundStatuses) {
    struct Case {
        std::vector<double> sizes;
        RunParameters params;
        CapacityStatus status;
        int k;
    };
    const std::vector<double> tens(10, 10);
    const Case cases[] = {
        // Everything fits: the maximum still caps the medium, the minimum
        // still has to be passed; one item of exactly the capacity fits.
        {tens, Params(1000), CapacityStatus::AllFit, 10},
        {tens, Params(1000, 0, 0, 3), CapacityStatus::AllFit, 3},
        {{10, 10, 10}, Params(1000, 0, 3), CapacityStatus::TooFew, 3},
        {{700}, Params(700), CapacityStatus::AllFit, 1},
        {{700, 5}, Params(700), CapacityStatus::Search, 1},
        {{100, 90, 80, 70, 60, 50}, Params(300, 0, 0, 3), CapacityStatus::Search, 3},
        {{800, 701}, Params(700, 0, 5), CapacityStatus::NoneFits, 0},
        {{500, 300, 200, 100}, Params(700, 0, 3), CapacityStatus::TooFew, 3},
        // Smallest items that fill the capacity exactly count.
        {{400, 300, 200, 100}, Params(600), CapacityStatus::Search, 3},
        {{5, 5, 5, 5}, Params(10), CapacityStatus::Search, 2},
    };
    for (const Case& c : cases) {
        const CapacityResult bound = Fixture(c.sizes, c.params).search.CapacityBound();
        EXPECT_EQ(bound.status, c.status) << ::testing::PrintToString(c.sizes);
        EXPECT_EQ(bound.k, c.k) << ::testing::PrintToString(c.sizes);
    }
}

// The engine's search against the plain one on many random media: the same
// sizes tried, the same steps, the same best combination.
TEST(CombinationSearchTest, MatchesThePlainSearchStepForStep) {
    std::mt19937 random(20261206);
    int searched = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<double> sizes(2 + random() % 14);
        const int spread = 1 + static_cast<int>(random() % 1000);
        double sum = 0;
        for (double& s : sizes)
            sum += s = 1 + random() % spread;
        std::sort(sizes.rbegin(), sizes.rend());
        const double media = 1 + random() % static_cast<int>(sum);
        const RunParameters p =
            Params(media, random() % 3 == 0 ? random() % 50 : 0, static_cast<int>(random() % 3),
                   2 + random() % sizes.size(), random() % 4 == 0);
        Fixture engine(sizes, p);
        const CapacityResult bound = engine.search.CapacityBound();
        if (bound.status != CapacityStatus::Search)
            continue;
        ++searched;
        PlainSearch plain(sizes, p);
        plain.SearchMedium(bound.k);
        const CombinationSearch& search = engine.search;
        const std::vector<int> positions = engine.Run();
        ASSERT_EQ(engine.display.sizes, plain.sizesTried_) << "round " << round;
        ASSERT_EQ(search.StepCount(), plain.steps_) << "round " << round;
        ASSERT_EQ(search.BestStack(), plain.best_) << "round " << round;
        ASSERT_EQ(search.GoodEnough(), plain.goodEnough_) << "round " << round;
        ASSERT_EQ(search.MirrorHead(), plain.mirror0_) << "round " << round;
        ASSERT_EQ(search.MarkShift(), plain.markShift_) << "round " << round;
        ASSERT_EQ(search.MarkLevel(), plain.markLevel_) << "round " << round;
        ASSERT_TRUE(std::is_sorted(positions.begin(), positions.end())) << "round " << round;
        if (search.BestTotal() > 0) {
            ASSERT_EQ(search.ComboTotal(positions), search.BestTotal()) << "round " << round;
            ASSERT_LE(search.BestTotal(), media);
        }
    }
    EXPECT_GT(searched, 1000);
}

TEST(CombinationSearchTest, RequestsAndTheDeadlineEndTheSearch) {
    const std::vector<double> sizes = {90, 80, 70, 60, 50, 40, 30, 20, 10};
    const std::vector<int> expected = Fixture(sizes, Params(233)).Run();
    Fixture paused(sizes, Params(233));
    paused.requests.pause = true;
    EXPECT_EQ(paused.Run(), expected);
    EXPECT_EQ(paused.display.pauseWaits, 3);

    Fixture aborted(sizes, Params(233));
    aborted.requests.abort = true;
    EXPECT_FALSE(aborted.search.SearchMedium(aborted.search.CapacityBound().k));

    // Finishing keeps the best so far, here none yet.
    Fixture finished(sizes, Params(233));
    finished.requests.finish = true;
    finished.Run();
    EXPECT_TRUE(finished.search.GoodEnough());
    EXPECT_EQ(finished.search.BestTotal(), 0);
    EXPECT_EQ(finished.search.StepCount(), 1);

    // A long search whose deadline has passed stops after its first batch.
    std::vector<double> many;
    for (int i = 0; i < 60; ++i)
        many.push_back(1000 + 7 * i);
    Fixture late(many, Params(20000.5));
    late.display.deadline = true;
    late.Run();
    EXPECT_TRUE(late.search.GoodEnough());
    EXPECT_EQ(late.search.StepCount(), CombinationSearch::kBatchSteps);
    EXPECT_GT(late.search.BestTotal(), 0);
}

}  // namespace
}  // namespace zv
