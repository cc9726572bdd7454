#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

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

// What the search of a medium did: the sizes it tried, its steps, the stack
// of its best combination (shift/level/total) and where it left its marks.
std::string Trace(Fixture& engine) {
    const CombinationSearch& search = engine.search;
    const std::vector<int> positions = engine.Run();
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_EQ(search.ComboTotal(positions), search.BestTotal());
    std::ostringstream trace;
    trace << "tried ";
    for (std::size_t i = 0; i < engine.display.sizes.size(); ++i)
        trace << (i ? "," : "") << engine.display.sizes[i];
    trace << ", " << search.StepCount() << " steps, best";
    for (const StackRecord& record : search.BestStack())
        trace << " " << record.Shift << "/" << record.BaseLevel << "/" << record.Total;
    trace << (search.GoodEnough() ? ", good enough" : "") << ", mirror " << search.MirrorHead()
          << ", mark " << search.MarkShift() << "/" << search.MarkLevel();
    return trace.str();
}

// The search is pinned step for step. The cases reach every branch: the mark
// that cuts a subtree, the size lowered down to the minimum, the fast search's
// first find, the tolerance.
TEST(CombinationSearchTest, EachMediumIsSearchedStepForStep) {
    const struct {
        std::vector<double> sizes;
        RunParameters params;
        const char* trace;
    } cases[] = {
        {{78, 71, 50, 39, 11, 3},
         Params(123, 0, 0, 5, true),
         "tried 4,3, 11 steps, best 3/3/53 3/2/92 1/1/120, good enough, mirror 0, mark 3/1"},
        {{1, 1, 1},
         Params(2, 0, 1, 4),
         "tried 2, 1 steps, best 1/2/2 1/1/2, good enough, mirror 1, mark 0/0"},
        {{14, 12, 10, 10, 7},
         Params(49, 0, 2, 4),
         "tried 4, 5 steps, best 1/4/39 1/3/41 1/2/43, mirror 1, mark 0/0"},
        {{27, 16, 5},
         Params(39, 9, 0, 2, true),
         "tried 2, 1 steps, best 1/2/21 1/1/32, good enough, mirror 1, mark 0/0"},
        {{46, 44, 26},
         Params(90, 1, 1, 3, true),
         "tried 2, 3 steps, best 1/2/70 1/1/72, mirror 1, mark 0/0"},
        {{582, 566, 559, 540, 526, 511, 458, 416, 308, 286, 236, 204, 197, 167, 132},
         Params(5618, 0, 1, 9),
         "tried 9,8,7,6,5,4,3, 12903 steps, best 6/9/2404 6/8/2528 6/7/2678 6/6/2929 6/5/3183 "
         "6/4/3473 6/3/3780 6/2/4041 6/1/4290, mirror 12, mark 0/0"},
        {{368, 356, 336, 323, 306, 298, 262, 259, 166, 156, 131, 122, 80, 51, 21},
         Params(1730, 29, 2, 7),
         "tried 7, 916 steps, best 8/7/727 6/6/897 6/5/1064 6/4/1239 6/3/1415 5/2/1594 5/1/1709, "
         "good enough, mirror 8, mark 0/0"},
        {{850, 653, 639, 616, 565, 551, 520, 461, 312, 291, 240, 236, 174, 95},
         Params(4975, 0, 2, 7),
         "tried 7,6,5,4, 4008 steps, best 7/7/1809 7/6/2198 7/5/2539 7/4/2887 7/3/3263 7/2/3592 "
         "7/1/3969, mirror 10, mark 0/0"},
        {{856, 854, 838, 718, 636, 474, 471, 415, 396, 358, 263, 197, 179, 98, 92},
         Params(4242, 0, 0, 11),
         "tried 11,10, 372 steps, best 5/10/2943 4/9/3323 3/8/3570 3/7/3791 3/6/3869 3/5/3982 "
         "1/4/4077 1/3/4143 1/2/4161 1/1/4242, good enough, mirror 1, mark 2/3"},
        {{466, 335, 328, 264, 249, 243, 144, 43, 39},
         Params(1713, 0, 2, 8, true),
         "tried 8,7, 23 steps, best 2/7/1310 2/6/1448 2/5/1519 2/4/1598 1/3/1604 1/2/1703, good "
         "enough, mirror 2, mark 1/2"},
    };
    for (const auto& c : cases) {
        Fixture engine(c.sizes, c.params);
        EXPECT_EQ(Trace(engine), c.trace) << ::testing::PrintToString(c.sizes);
    }
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
