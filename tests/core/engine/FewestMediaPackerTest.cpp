#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <tuple>
#include <vector>

#include "core/engine/FewestMediaPacker.h"

namespace zv {
namespace {

double Total(const std::vector<double>& sizes, const std::vector<int>& items) {
    return std::accumulate(items.begin(), items.end(), 0.0,
                           [&](double total, int item) { return total + sizes[item]; });
}

// Checks everything a plan must satisfy whatever the input; returns the media totals.
std::vector<double> ExpectValidPlan(const std::vector<double>& sizes, const PackLimits& limits,
                                    const PackPlan& plan) {
    EXPECT_FALSE(plan.aborted);
    std::vector<int> seen(sizes.size(), 0);
    std::vector<double> totals;
    for (const std::vector<int>& medium : plan.media) {
        EXPECT_LE(static_cast<int>(medium.size()), limits.maxItems);
        EXPECT_GT(static_cast<int>(medium.size()), limits.minItems);
        for (int item : medium)
            ++seen.at(item);
        totals.push_back(Total(sizes, medium));
        EXPECT_LE(totals.back(), limits.capacity);
    }
    for (int item : plan.unplaced)
        ++seen.at(item);
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }));
    EXPECT_TRUE(std::is_sorted(totals.rbegin(), totals.rend())) << "fullest first";
    EXPECT_TRUE(limits.mediaCount <= 0 || static_cast<int>(plan.media.size()) <= limits.mediaCount);
    return totals;
}

// Reference first-fit decreasing, written plainly.
int FirstFitDecreasingCount(std::vector<double> sizes, const PackLimits& limits) {
    std::sort(sizes.rbegin(), sizes.rend());
    std::vector<std::pair<double, int>> media;  // room left, items
    for (double size : sizes) {
        if (size > limits.capacity)
            continue;
        auto m = std::find_if(media.begin(), media.end(), [&](const auto& medium) {
            return medium.first >= size && medium.second < limits.maxItems;
        });
        if (m == media.end())
            m = media.insert(m, {limits.capacity, 0});
        m->first -= size;
        ++m->second;
    }
    return static_cast<int>(media.size());
}

// Exhaustive fewest media for a handful of items: each set of them takes one
// medium more than the rest of it without a set that fits one medium.
int OptimalCount(const std::vector<double>& sizes, const PackLimits& limits) {
    const int n = static_cast<int>(sizes.size());
    std::vector<int> fewest(1 << n, n);
    fewest[0] = 0;
    for (int set = 1; set < 1 << n; ++set) {
        for (int medium = set; medium != 0; medium = (medium - 1) & set) {
            std::vector<int> items;
            for (int i = 0; i < n; ++i) {
                if (medium >> i & 1)
                    items.push_back(i);
            }
            if (Total(sizes, items) <= limits.capacity &&
                static_cast<int>(items.size()) <= limits.maxItems)
                fewest[set] = std::min(fewest[set], fewest[set ^ medium] + 1);
        }
    }
    return fewest.back();
}

std::vector<double> RandomSizes(std::mt19937_64& rng, int n, double low, double high) {
    std::uniform_int_distribution<long long> size(static_cast<long long>(low),
                                                  static_cast<long long>(high));
    std::vector<double> sizes(n);
    std::generate(sizes.begin(), sizes.end(), [&] { return static_cast<double>(size(rng)); });
    return sizes;
}

TEST(FewestMediaPackerTest, RandomCollectionsGiveValidPlansNoWorseThanFirstFitDecreasing) {
    const double capacity = 1'000'000;
    // name, items, size range as fractions of the capacity, maxItems, minItems, mediaCount
    const std::tuple<const char*, int, double, double, int, int, int> cases[] = {
        {"tiny", 3000, 0.0, 0.01, 32766, 0, 0},
        {"small", 800, 0.001, 0.1, 32766, 0, 0},
        {"thirds", 600, 0.2, 0.45, 32766, 0, 0},
        {"halves", 400, 0.25, 0.75, 32766, 0, 0},
        {"wide", 500, 0.0, 1.0, 32766, 0, 0},
        {"item limit", 500, 0.0, 0.05, 7, 0, 0},
        {"triplets", 300, 0.25, 0.5, 32766, 0, 0},
        {"oversize among others", 300, 0.0, 1.3, 32766, 0, 0},
        {"min items", 400, 0.0, 0.4, 32766, 2, 0},
        {"media count", 400, 0.0, 0.4, 32766, 0, 20},
        {"all limits", 400, 0.0, 0.3, 5, 2, 30},
    };
    std::mt19937_64 rng(20240611);
    for (const auto& [name, n, low, high, maxItems, minItems, mediaCount] : cases) {
        SCOPED_TRACE(name);
        const PackLimits limits{capacity, 0, mediaCount, maxItems, minItems};
        const std::vector<double> sizes = RandomSizes(rng, n, low * capacity, high * capacity);
        const PackPlan plan = PackFewestMedia(sizes, limits, {});
        const std::vector<double> totals = ExpectValidPlan(sizes, limits, plan);
        const int oversize = static_cast<int>(
            std::count_if(sizes.begin(), sizes.end(), [&](double s) { return s > capacity; }));
        if (minItems == 0 && mediaCount == 0) {
            EXPECT_EQ(static_cast<int>(plan.unplaced.size()), oversize);
            EXPECT_LE(static_cast<int>(plan.media.size()), FirstFitDecreasingCount(sizes, limits));
            EXPECT_GE(static_cast<int>(plan.media.size()), FewestMediaLowerBound(sizes, limits));
        } else if (mediaCount == 0) {
            EXPECT_TRUE(plan.unplaced.empty()) << "small items are there to lend";
        } else {
            // Far more volume than the media hold: every medium is used and well filled.
            EXPECT_EQ(static_cast<int>(plan.media.size()), mediaCount);
            for (double total : totals)
                EXPECT_GE(total, 0.7 * capacity);
        }
    }
}

TEST(FewestMediaPackerTest, SmallCollectionsUseTheOptimalNumberOfMedia) {
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int> count(1, 10);
    for (int round = 0; round < 200; ++round) {
        const PackLimits limits{100, 0, 0, round % 3 == 0 ? 2 : 32766, 0};
        const std::vector<double> sizes = RandomSizes(rng, count(rng), 1, 70);
        SCOPED_TRACE(::testing::PrintToString(sizes));
        const PackPlan plan = PackFewestMedia(sizes, limits, {});
        ExpectValidPlan(sizes, limits, plan);
        const int optimal = OptimalCount(sizes, limits);
        EXPECT_EQ(static_cast<int>(plan.media.size()), optimal);
        EXPECT_LE(FewestMediaLowerBound(sizes, limits), optimal);
    }
}

TEST(FewestMediaPackerTest, LowerBound) {
    // sizes on media of 10, maxItems, the bound
    const std::tuple<std::vector<double>, int, int> cases[] = {
        {{}, 32766, 0},
        {{0, 0, 0}, 32766, 1},
        {{6, 6, 6}, 32766, 3},          // no two items over half share a medium
        {{7, 3, 3, 3}, 32766, 2},       // volume decides
        {{9, 9, 2, 2}, 32766, 3},       // small items cannot join the large ones
        {{1, 1, 1, 1, 1, 1, 1}, 3, 3},  // item limit decides
        {{11, 12, 5}, 32766, 1},        // oversize items need no medium
    };
    for (const auto& [sizes, maxItems, bound] : cases) {
        EXPECT_EQ(FewestMediaLowerBound(sizes, {10, 0, 0, maxItems, 0}), bound)
            << ::testing::PrintToString(sizes);
    }
}

TEST(FewestMediaPackerTest, Limits) {
    // name, sizes, limits, media, unplaced items, bytes placed
    using Case = std::tuple<const char*, std::vector<double>, PackLimits, size_t, size_t, double>;
    const Case cases[] = {
        {"empty input", {}, {10, 0, 0, 32766, 0}, 0, 0, 0},
        {"exact fit", {10, 10}, {10, 0, 0, 32766, 0}, 2, 0, 20},
        {"oversize left out", {11, 4, 5}, {10, 0, 0, 32766, 0}, 1, 1, 9},
        {"zero-size items", {0, 0, 0, 10}, {10, 0, 0, 32766, 0}, 1, 0, 10},
        {"a zero-size item alone", {0}, {10, 0, 0, 32766, 0}, 1, 0, 0},
        {"a zero-size item after the item limit", {100, 0}, {300, 0, 0, 1, 0}, 2, 0, 100},
        {"zero-size items up to the item limit", {5, 0, 0, 0}, {10, 0, 0, 2, 0}, 2, 0, 5},
        {"item limit", {1, 1, 1, 1, 1}, {10, 0, 0, 2, 0}, 3, 0, 5},
        {"media count keeps the most volume", {6, 5, 5, 4, 3}, {10, 0, 1, 32766, 0}, 1, 3, 10},
        {"media count", {6, 6, 6, 6, 6}, {10, 0, 2, 32766, 0}, 2, 3, 12},
        {"min items pairs large with small", {9, 9, 1, 1}, {10, 0, 0, 32766, 1}, 2, 0, 20},
        {"min items impossible", {6, 6, 6}, {10, 0, 0, 32766, 1}, 0, 3, 0},
        {"min items borrows for the last", {5, 4, 1, 1, 1, 5, 4}, {10, 0, 0, 32766, 1}, 3, 0, 21},
    };
    for (const auto& [name, sizes, limits, media, unplaced, placed] : cases) {
        SCOPED_TRACE(name);
        const PackPlan plan = PackFewestMedia(sizes, limits, {});
        const std::vector<double> totals = ExpectValidPlan(sizes, limits, plan);
        EXPECT_EQ(std::tuple(plan.media.size(), plan.unplaced.size(),
                             std::accumulate(totals.begin(), totals.end(), 0.0)),
                  std::tuple(media, unplaced, placed));
    }
}

TEST(FewestMediaPackerTest, ManySmallItemsFillEveryMediumButTheLast) {
    const double dvd = 4'707'319'808;
    std::mt19937_64 rng(5);
    for (double tolerance : {0.0, 1e6}) {
        const PackLimits limits{dvd, tolerance, 0, 32766, 0};
        const std::vector<double> sizes = RandomSizes(rng, 5000, 3e6, 10e6);
        const PackPlan plan = PackFewestMedia(sizes, limits, {});
        const std::vector<double> totals = ExpectValidPlan(sizes, limits, plan);
        EXPECT_EQ(static_cast<int>(plan.media.size()), FewestMediaLowerBound(sizes, limits));
        // Without tolerance, pair exchanges among hundreds of items close each gap to bytes.
        const double fullEnough = tolerance == 0 ? dvd - 1000 : dvd - tolerance;
        for (std::size_t m = 0; m + 1 < totals.size(); ++m)
            EXPECT_GE(totals[m], fullEnough);
    }
}

TEST(FewestMediaPackerTest, SamePlanEachTimeAndCallbackCanFinishOrAbort) {
    std::mt19937_64 rng(3);
    const std::vector<double> sizes = RandomSizes(rng, 3000, 0, 300'000);
    const PackLimits limits{1'000'000, 0, 0, 32766, 0};
    const PackPlan first = PackFewestMedia(sizes, limits, {});
    EXPECT_EQ(first.media, PackFewestMedia(sizes, limits, {}).media);

    int calls = 0;
    const PackPlan finished = PackFewestMedia(sizes, limits, [&](const PackStatus&) {
        ++calls;
        return PackControl::Finish;
    });
    EXPECT_EQ(calls, 1);
    ExpectValidPlan(sizes, limits, finished);
    EXPECT_TRUE(finished.unplaced.empty());
    EXPECT_LE(static_cast<int>(finished.media.size()), FirstFitDecreasingCount(sizes, limits));

    const PackPlan aborted =
        PackFewestMedia(sizes, limits, [](const PackStatus&) { return PackControl::Abort; });
    EXPECT_TRUE(aborted.aborted);
    EXPECT_TRUE(aborted.media.empty());
    EXPECT_EQ(aborted.unplaced.size(), sizes.size());
}

}  // namespace
}  // namespace zv
