#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "PlainSearch.h"
#include "core/engine/CombinationSearch.h"

namespace zv {
namespace {

RunParameters Params(double mediaSize, double tolerance = 0, int minItems = 0, int maxItems = 32766,
                     bool fast = false) {
    RunParameters p;
    p.mediaSize = mediaSize;
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
    const std::vector<Case> cases = {
        // Everything fits: the maximum still caps the medium, the minimum
        // still has to be passed.
        {std::vector<double>(10, 10), Params(1000), CapacityStatus::AllFit, 10},
        {std::vector<double>(10, 10), Params(1000, 0, 0, 3), CapacityStatus::AllFit, 3},
        {std::vector<double>(3, 10), Params(1000, 0, 3), CapacityStatus::TooFew, 3},
        // One item of exactly the capacity fits.
        {{700}, Params(700), CapacityStatus::AllFit, 1},
        {{700, 5}, Params(700), CapacityStatus::Search, 1},
        // Once the smallest items reach the capacity the maximum caps the size.
        {{100, 90, 80, 70, 60, 50}, Params(300, 0, 0, 3), CapacityStatus::Search, 3},
        // The smallest alone is as large as the medium, whatever the minimum.
        {{800, 701}, Params(700, 0, 5), CapacityStatus::NoneFits, 0},
        // Three fit, and a medium must hold more than three.
        {{500, 300, 200, 100}, Params(700, 0, 3), CapacityStatus::TooFew, 3},
        // Smallest items that fill the capacity exactly count.
        {{400, 300, 200, 100}, Params(600), CapacityStatus::Search, 3},
        {{5, 5, 5, 5}, Params(10), CapacityStatus::Search, 2},
    };
    for (const Case& c : cases) {
        const CapacityResult bound = Fixture(c.sizes, c.params).search.CapacityBound();
        EXPECT_EQ(bound.status, c.status) << c.sizes.size() << " items";
        EXPECT_EQ(bound.k, c.k) << c.sizes.size() << " items";
    }
}

// The engine's search against the plain step-by-step one on many random
// media: the same sizes tried, the same steps, the same best combination.
TEST(CombinationSearchTest, MatchesThePlainSearchStepForStep) {
    std::mt19937 random(20261206);
    int searched = 0;
    for (int round = 0; round < 3000; ++round) {
        const int n = 2 + static_cast<int>(random() % 14);
        std::vector<double> sizes(n);
        const int spread = 1 + static_cast<int>(random() % 1000);
        for (double& s : sizes)
            s = 1 + random() % spread;
        std::sort(sizes.rbegin(), sizes.rend());
        double sum = 0;
        for (double s : sizes)
            sum += s;
        const double media = 1 + random() % static_cast<int>(sum);
        const RunParameters p =
            Params(media, random() % 3 == 0 ? random() % 50 : 0, static_cast<int>(random() % 3),
                   2 + random() % n, random() % 4 == 0);

        RunRequests requests;
        RecordingDisplay display(requests);
        CombinationSearch search(p, requests, display);
        display.search = &search;
        search.SetItemSizes(sizes);
        const CapacityResult bound = search.CapacityBound();
        if (bound.status != CapacityStatus::Search)
            continue;
        ++searched;

        testing::PlainSearch plain(sizes, p);
        plain.SearchMedium(bound.k);
        ASSERT_TRUE(search.SearchMedium(bound.k));

        display.sizes.insert(display.sizes.begin(), bound.k);
        ASSERT_EQ(display.sizes, plain.sizesTried_) << "round " << round;
        ASSERT_EQ(search.StepCount(), plain.steps_) << "round " << round;
        ASSERT_EQ(search.BestStack(), plain.best_) << "round " << round;
        ASSERT_EQ(search.GoodEnough(), plain.goodEnough_) << "round " << round;
        ASSERT_EQ(search.MirrorHead(), plain.mirror0_) << "round " << round;
        ASSERT_EQ(search.MarkShift(), plain.markShift_) << "round " << round;
        ASSERT_EQ(search.MarkLevel(), plain.markLevel_) << "round " << round;
        const std::vector<int> positions = search.StackToPositions(search.BestStack());
        ASSERT_EQ(positions, plain.Positions(plain.best_)) << "round " << round;
        if (search.BestTotal() > 0) {
            ASSERT_EQ(search.ComboTotal(positions), search.BestTotal());
            ASSERT_LE(search.BestTotal(), media);
        }
    }
    EXPECT_GT(searched, 1000);
}

TEST(CombinationSearchTest, PauseWaitsAndAbortEnds) {
    const std::vector<double> sizes = {90, 80, 70, 60, 50, 40, 30, 20, 10};
    Fixture plain(sizes, Params(233));
    const std::vector<int> expected = plain.Run();

    Fixture paused(sizes, Params(233));
    paused.requests.pause = true;
    EXPECT_EQ(paused.Run(), expected);
    EXPECT_EQ(paused.display.pauseWaits, 3);

    Fixture aborted(sizes, Params(233));
    aborted.requests.abort = true;
    EXPECT_FALSE(aborted.search.SearchMedium(aborted.search.CapacityBound().k));
}

TEST(CombinationSearchTest, FinishRequestAndDeadlineKeepTheBestSoFar) {
    const std::vector<double> sizes = {90, 80, 70, 60, 50, 40, 30, 20, 10};
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
