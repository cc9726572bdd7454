#include "core/engine/FewestMediaPacker.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <tuple>

#include "core/engine/FirstFitDecreasing.h"
#include "core/engine/ItemPool.h"
#include "core/engine/SubsetFill.h"
#include "core/engine/WorkMeter.h"

namespace zv {
namespace {

// Work budgets are counted in search steps, never in time, so that a plan does not depend on
// the machine's speed. A step costs well under a microsecond; these keep 32,766 items within a
// few seconds while small collections still get a deep search per medium.
constexpr std::int64_t kConstructionSteps = 6'000'000;
constexpr std::int64_t kImprovementSteps = 4'000'000;
constexpr std::int64_t kImprovementStepsPerItem = 4'000;
constexpr std::int64_t kMinFillNodes = 300;
constexpr std::int64_t kMaxFillNodes = 200'000;
// A squeeze gives up after this many failed attempts in a row, emptying 1, 2, ... media in turn.
constexpr int kSqueezeFailures = 30;
constexpr int kMostEmptied = 3;
constexpr int kPairSearchItems = 16;
// Items of a medium whose pair sums a group exchange compares (memory grows with its square).
constexpr int kPairSampleItems = 600;

struct Medium {
    std::vector<int> items;  // ascending size, so exchanges can binary-search for a partner
    Bytes total = 0;
};

Bytes ToBytes(double value) {
    return static_cast<Bytes>(std::llround(std::max(0.0, value)));
}

int MartelloTothL2(std::vector<Bytes> sizes, Bytes capacity) {
    std::sort(sizes.begin(), sizes.end());
    std::vector<Bytes> prefix(sizes.size() + 1, 0);
    std::partial_sum(sizes.begin(), sizes.end(), prefix.begin() + 1);
    const auto countAtMost = [&](Bytes limit) {
        return static_cast<Bytes>(std::upper_bound(sizes.begin(), sizes.end(), limit) -
                                  sizes.begin());
    };
    const auto countBelow = [&](Bytes limit) {
        return static_cast<Bytes>(std::lower_bound(sizes.begin(), sizes.end(), limit) -
                                  sizes.begin());
    };
    const Bytes n = static_cast<Bytes>(sizes.size());
    const Bytes halfEnd = countAtMost(capacity / 2);  // items that two can share a medium
    Bytes best = 0;
    for (Bytes i = 0; i <= halfEnd; ++i) {
        if (i > 0 && i < halfEnd && sizes[i] == sizes[i - 1]) {
            continue;
        }
        const Bytes k = i < halfEnd ? sizes[i] : 0;
        const Bytes j3Begin = countBelow(k);
        const Bytes j2End = countAtMost(capacity - k);
        const Bytes j1Count = n - j2End;
        const Bytes j2Count = j2End - halfEnd;
        const Bytes j2Sum = prefix[j2End] - prefix[halfEnd];
        const Bytes j3Sum = prefix[halfEnd] - prefix[j3Begin];
        const Bytes overflow = j3Sum - (j2Count * capacity - j2Sum);
        const Bytes extra = overflow > 0 ? (overflow + capacity - 1) / capacity : 0;
        best = std::max(best, j1Count + j2Count + extra);
    }
    return static_cast<int>(best);
}

int LowerBound(std::vector<Bytes> fitting, Bytes capacity, int maxItems) {
    if (fitting.empty()) {
        return 0;
    }
    const int n = static_cast<int>(fitting.size());
    return std::max(MartelloTothL2(std::move(fitting), capacity), (n + maxItems - 1) / maxItems);
}

Bytes CapacityBytes(const PackLimits& limits) {
    return static_cast<Bytes>(std::floor(std::max(0.0, limits.capacity)));
}

class Packer {
  public:
    Packer(const std::vector<double>& sizes, const PackLimits& limits,
           const PackProgress& progress);
    PackPlan Run();

  private:
    std::vector<Medium> Construct(Medium& leftovers);
    void SqueezeOutMedia(std::vector<Medium>& media, std::int64_t stepLimit);
    // Frees `count` media, skipping the `skip` least-filled ones.
    bool EmptyWeakest(std::vector<Medium>& media, int skip, int count, std::int64_t stepLimit);
    bool DominantExchange(Medium& medium, Medium& loose);
    void RaiseWeakest(std::vector<Medium>& media, std::int64_t stepLimit);
    bool Refill(Medium& target, Medium& source);
    bool GroupExchange(Medium& weakest, Medium& last);
    bool BestExchange(Medium& weakest, std::vector<Medium>& media, int skip);
    void KeepMediaCount(std::vector<Medium>& media, Medium& unplaced);
    void EnforceMinItems(std::vector<Medium>& media, Medium& unplaced);
    void PlaceLeftovers(std::vector<Medium>& media, Medium& unplaced);
    std::vector<Medium> FirstFitPlan();
    // Orders item indices by size, then index, as Medium keeps them.
    auto SmallerFirst() const {
        return
            [this](int a, int b) { return bytes_[a] != bytes_[b] ? bytes_[a] < bytes_[b] : a < b; };
    }
    Medium MakeMedium(std::vector<int> items) const;
    void AddItem(Medium& medium, int item) const;
    void RemoveAt(Medium& medium, int at) const;
    // Also charges the copy to the work meter: refills of large media copy a lot.
    std::vector<PoolItem> PoolOf(const std::vector<int>& items);
    PackPlan Output(std::vector<Medium> media, Medium unplaced) const;

    std::vector<Bytes> bytes_;
    std::vector<int> oversize_;
    std::vector<int> candidates_;
    PackLimits limits_;
    FillRules rules_;
    WorkMeter meter_;
    int lowerBound_ = 0;
    std::int64_t fillNodes_ = kMinFillNodes;
    std::int64_t refillNodes_ = kMinFillNodes;
};

Packer::Packer(const std::vector<double>& sizes, const PackLimits& limits,
               const PackProgress& progress)
    : limits_(limits), meter_(progress) {
    rules_.capacity = CapacityBytes(limits);
    rules_.tolerance = std::max<Bytes>(0, ToBytes(limits.tolerance));
    rules_.maxItems = std::max(1, limits.maxItems);
    rules_.minItems = std::max(0, limits.minItems);
    bytes_.reserve(sizes.size());
    std::vector<Bytes> fitting;
    for (int i = 0; i < static_cast<int>(sizes.size()); ++i) {
        bytes_.push_back(ToBytes(sizes[i]));
        if (rules_.capacity > 0 && bytes_[i] <= rules_.capacity) {
            candidates_.push_back(i);
            fitting.push_back(bytes_[i]);
        } else {
            oversize_.push_back(i);
        }
    }
    lowerBound_ = LowerBound(std::move(fitting), rules_.capacity, rules_.maxItems);
    if (lowerBound_ > 0) {
        fillNodes_ = std::clamp<std::int64_t>(kConstructionSteps / lowerBound_, kMinFillNodes,
                                              kMaxFillNodes);
        refillNodes_ = std::clamp<std::int64_t>(kImprovementSteps / (4 * lowerBound_),
                                                kMinFillNodes, kMaxFillNodes / 4);
    }
}

PackPlan Packer::Run() {
    meter_.Begin();
    Medium unplaced;
    std::vector<Medium> media = Construct(unplaced);
    const std::int64_t improveEnd =
        meter_.steps() + kImprovementSteps +
        kImprovementStepsPerItem * static_cast<std::int64_t>(candidates_.size());
    SqueezeOutMedia(media, improveEnd);
    if (rules_.minItems == 0 && !meter_.aborted()) {
        std::vector<Medium> firstFit = FirstFitPlan();
        if (firstFit.size() < media.size()) {
            media = std::move(firstFit);
            SqueezeOutMedia(media, improveEnd);
        }
    }
    RaiseWeakest(media, improveEnd);
    KeepMediaCount(media, unplaced);
    EnforceMinItems(media, unplaced);
    PlaceLeftovers(media, unplaced);
    if (meter_.aborted()) {
        PackPlan plan;
        plan.aborted = true;
        plan.unplaced.resize(bytes_.size());
        std::iota(plan.unplaced.begin(), plan.unplaced.end(), 0);
        return plan;
    }
    return Output(std::move(media), std::move(unplaced));
}

// Minimum Bin Slack: each medium in turn takes the subset of the remaining items that fills
// it best, so the early media come out (nearly) full and the awkward rest gathers at the end.
std::vector<Medium> Packer::Construct(Medium& leftovers) {
    ItemPool pool(PoolOf(candidates_));
    std::vector<Medium> media;
    while (pool.AliveCount() > 0 && !meter_.aborted()) {
        meter_.SetStatus(static_cast<int>(media.size()), static_cast<int>(media.size()));
        const SubsetFill::Result fill = SubsetFill(rules_, fillNodes_).Run(pool, meter_);
        // A medium with too few items is still made: the minimum item count is enforced at the
        // end, when such a medium can borrow small items from fuller ones.
        if (fill.positions.empty()) {
            break;
        }
        std::vector<int> items;
        for (int pos : fill.positions) {
            items.push_back(pool.IdAt(pos));
            pool.Remove(pos);
        }
        media.push_back(MakeMedium(std::move(items)));
    }
    std::vector<int> rest;
    for (int pos = 0; pos < pool.size(); ++pos) {
        if (pool.IsAlive(pos)) {
            rest.push_back(pool.IdAt(pos));
        }
    }
    leftovers = MakeMedium(std::move(rest));
    return media;
}

int LeastFilled(const std::vector<Medium>& media, int skip) {
    int least = -1;
    for (int i = 0; i < static_cast<int>(media.size()); ++i) {
        if (i != skip && (least < 0 || media[i].total < media[least].total)) {
            least = i;
        }
    }
    return least;
}

// Levine-Ducatelle dominance search: empty the least-filled media and let every other medium
// trade its items for loose ones whenever that makes it fuller. Fuller media leave smaller loose
// items, which are easier to place; once they all fit elsewhere, media have been saved. A failed
// attempt is rolled back, so the number of media never grows.
void Packer::SqueezeOutMedia(std::vector<Medium>& media, std::int64_t stepLimit) {
    // A failed attempt would fail again on the same media, so each retry frees a different
    // group: 1, 2, then 3 media, starting ever further up from the least-filled one.
    int failures = 0;
    while (static_cast<int>(media.size()) > lowerBound_ && failures < kSqueezeFailures &&
           !meter_.stopRequested() && meter_.steps() < stepLimit) {
        std::vector<Medium> saved = media;
        const int count = failures % kMostEmptied + 1;
        if (EmptyWeakest(media, failures / kMostEmptied, count, stepLimit)) {
            failures = 0;
        } else {
            media = std::move(saved);
            ++failures;
        }
    }
}

bool Packer::EmptyWeakest(std::vector<Medium>& media, int skip, int count, std::int64_t stepLimit) {
    if (skip + count >= static_cast<int>(media.size())) {
        return false;
    }
    std::stable_sort(media.begin(), media.end(),
                     [](const Medium& a, const Medium& b) { return a.total < b.total; });
    std::vector<int> freed;
    for (int i = skip; i < skip + count; ++i) {
        freed.insert(freed.end(), media[i].items.begin(), media[i].items.end());
    }
    media.erase(media.begin() + skip, media.begin() + skip + count);
    Medium loose = MakeMedium(std::move(freed));
    bool moved = true;
    while (moved && !loose.items.empty()) {
        moved = false;
        for (Medium& medium : media) {
            if (meter_.stopRequested() || meter_.steps() >= stepLimit) {
                return false;
            }
            moved = DominantExchange(medium, loose) || moved;
            if (loose.items.empty()) {
                return true;
            }
        }
    }
    std::vector<int> rest(loose.items.rbegin(), loose.items.rend());
    std::vector<std::vector<int>> extra =
        FirstFitDecreasing(rules_.capacity, rules_.maxItems).Pack(PoolOf(rest));
    if (static_cast<int>(extra.size()) >= count) {
        return false;
    }
    for (std::vector<int>& items : extra) {
        media.push_back(MakeMedium(std::move(items)));
    }
    return true;
}

// The exchange of up to two items of a medium for up to two loose items that fills the medium
// most. Pairs are only tried on media with few items: with many small items a medium is full
// anyway and pair searches would cost quadratic time.
bool Packer::DominantExchange(Medium& medium, Medium& loose) {
    const std::vector<int>& in = medium.items;
    const std::vector<int>& out = loose.items;
    const int k = static_cast<int>(in.size());
    const int f = static_cast<int>(out.size());
    const Bytes room = rules_.capacity - medium.total;
    const bool canGrow = k < rules_.maxItems;
    const bool canShrink = k - 1 > rules_.minItems;
    const bool pairsIn = k <= kPairSearchItems;
    const bool pairsOut = f <= kPairSearchItems;

    struct Move {
        Bytes gain = 0;
        int give[2] = {-1, -1};
        int take[2] = {-1, -1};
    } best;
    const auto consider = [&](Bytes gain, int give0, int give1, int take0, int take1) {
        if (gain > best.gain) {
            best = {gain, {give0, give1}, {take0, take1}};
        }
    };
    const auto largestUpTo = [&](Bytes limit) {
        meter_.Step();
        const auto it = std::upper_bound(out.begin(), out.end(), limit,
                                         [&](Bytes v, int item) { return v < bytes_[item]; });
        return static_cast<int>(it - out.begin()) - 1;
    };
    // Two loose items with the largest sum <= limit; {-1, -1} when there are none.
    const auto largestPairUpTo = [&](Bytes limit) {
        meter_.Step();
        std::pair<int, int> pair{-1, -1};
        Bytes bestSum = -1;
        for (int lo = 0, hi = f - 1; lo < hi;) {
            const Bytes sum = bytes_[out[lo]] + bytes_[out[hi]];
            if (sum <= limit) {
                if (sum > bestSum) {
                    bestSum = sum;
                    pair = {lo, hi};
                }
                ++lo;
            } else {
                --hi;
            }
        }
        return std::pair{pair, bestSum};
    };

    if (canGrow) {
        const int t = largestUpTo(room);
        if (t >= 0) {
            consider(bytes_[out[t]], -1, -1, t, -1);
        }
    }
    for (int g = 0; g < k; ++g) {
        const Bytes given = bytes_[in[g]];
        const int t = largestUpTo(given + room);
        if (t >= 0) {
            consider(bytes_[out[t]] - given, g, -1, t, -1);
        }
        if (canGrow && pairsOut) {
            const auto [pair, sum] = largestPairUpTo(given + room);
            if (pair.first >= 0) {
                consider(sum - given, g, -1, pair.first, pair.second);
            }
        }
    }
    for (int g0 = 0; pairsIn && g0 < k; ++g0) {
        for (int g1 = g0 + 1; g1 < k; ++g1) {
            const Bytes given = bytes_[in[g0]] + bytes_[in[g1]];
            if (canShrink) {
                const int t = largestUpTo(given + room);
                if (t >= 0) {
                    consider(bytes_[out[t]] - given, g0, g1, t, -1);
                }
            }
            if (pairsOut) {
                const auto [pair, sum] = largestPairUpTo(given + room);
                if (pair.first >= 0) {
                    consider(sum - given, g0, g1, pair.first, pair.second);
                }
            }
        }
    }
    if (best.gain <= 0) {
        return false;
    }
    std::vector<int> given;
    std::vector<int> taken;
    for (int i : {1, 0}) {
        if (best.give[i] >= 0) {
            given.push_back(in[best.give[i]]);
            RemoveAt(medium, best.give[i]);
        }
        if (best.take[i] >= 0) {
            taken.push_back(out[best.take[i]]);
            RemoveAt(loose, best.take[i]);
        }
    }
    for (int item : given) {
        AddItem(loose, item);
    }
    for (int item : taken) {
        AddItem(medium, item);
    }
    return true;
}

// The last medium takes the remainder, so the quality of a plan is its weakest other medium:
// raise that one, by refilling it from the last medium, or by an exchange with a fuller
// medium that stays above it.
void Packer::RaiseWeakest(std::vector<Medium>& media, std::int64_t stepLimit) {
    while (media.size() >= 2 && !meter_.stopRequested() && meter_.steps() < stepLimit) {
        const int last = LeastFilled(media, -1);
        const int weakest = LeastFilled(media, last);
        if (media[weakest].total >= rules_.capacity - rules_.tolerance) {
            return;
        }
        if (!Refill(media[weakest], media[last]) && !GroupExchange(media[weakest], media[last]) &&
            !BestExchange(media[weakest], media, last)) {
            return;
        }
        if (media[last].items.empty()) {
            media.erase(media.begin() + last);
        }
    }
}

bool Packer::Refill(Medium& target, Medium& source) {
    std::vector<int> both = target.items;
    both.insert(both.end(), source.items.begin(), source.items.end());
    ItemPool pool(PoolOf(both));
    const SubsetFill::Result fill = SubsetFill(rules_, refillNodes_).Run(pool, meter_);
    if (meter_.aborted() || !fill.valid || fill.total <= target.total) {
        return false;
    }
    std::vector<int> taken;
    for (int pos : fill.positions) {
        taken.push_back(pool.IdAt(pos));
        pool.Remove(pos);
    }
    std::vector<int> rest;
    for (int pos = 0; pos < pool.size(); ++pos) {
        if (pool.IsAlive(pos)) {
            rest.push_back(pool.IdAt(pos));
        }
    }
    target = MakeMedium(std::move(taken));
    source = MakeMedium(std::move(rest));
    return true;
}

// Swaps one or two items of the weakest medium for one or two of the last one. With hundreds of
// small items per medium the differences of such sums are so dense that this closes the gap left
// by a budgeted subset search to a few bytes, at the cost of two sorted lists of sums.
bool Packer::GroupExchange(Medium& weakest, Medium& last) {
    const Bytes room = rules_.capacity - weakest.total;
    struct Group {
        Bytes sum;
        int first;
        int second;  // -1 for a single item
        bool operator<(const Group& other) const { return sum < other.sum; }
        int size() const { return second < 0 ? 1 : 2; }
    };
    const auto groupSums = [&](const Medium& medium) {
        const int n = static_cast<int>(medium.items.size());
        const int stride = (n + kPairSampleItems - 1) / kPairSampleItems;
        std::vector<Group> sums;
        for (int a = 0; a < n; a += stride) {
            sums.push_back({bytes_[medium.items[a]], a, -1});
            for (int b = a + stride; b < n; b += stride) {
                sums.push_back({bytes_[medium.items[a]] + bytes_[medium.items[b]], a, b});
            }
        }
        meter_.Step(static_cast<std::int64_t>(sums.size()));
        std::sort(sums.begin(), sums.end());
        return sums;
    };
    if (room <= 0) {
        return false;
    }
    const std::vector<Group> given = groupSums(weakest);
    const std::vector<Group> taken = groupSums(last);
    const int count = static_cast<int>(weakest.items.size());
    Bytes bestGain = 0;
    Group bestGive{};
    Group bestTake{};
    std::size_t t = 0;
    for (const Group& give : given) {
        while (t < taken.size() && taken[t].sum <= give.sum + room) {
            ++t;
        }
        if (t == 0) {
            continue;
        }
        const Group& take = taken[t - 1];
        const int newCount = count - give.size() + take.size();
        if (take.sum - give.sum > bestGain && newCount <= rules_.maxItems &&
            newCount > rules_.minItems) {
            bestGain = take.sum - give.sum;
            bestGive = give;
            bestTake = take;
        }
    }
    if (bestGain <= 0) {
        return false;
    }
    // Remove the later position first so that the earlier one stays valid.
    const auto removeGroup = [&](Medium& medium, const Group& group) {
        std::vector<int> items{medium.items[group.first]};
        if (group.second >= 0) {
            items.push_back(medium.items[group.second]);
            RemoveAt(medium, group.second);
        }
        RemoveAt(medium, group.first);
        return items;
    };
    const std::vector<int> give = removeGroup(weakest, bestGive);
    const std::vector<int> take = removeGroup(last, bestTake);
    for (int item : take) {
        AddItem(weakest, item);
    }
    for (int item : give) {
        AddItem(last, item);
    }
    return true;
}

// Moves one item, or swaps one for a larger one, between the weakest medium and another,
// choosing the largest gain that keeps the donor above the weakest medium's old total.
bool Packer::BestExchange(Medium& weakest, std::vector<Medium>& media, int skip) {
    const Bytes room = rules_.capacity - weakest.total;
    Bytes bestGain = 0;
    int bestDonor = -1;
    int bestTake = -1;
    int bestGive = -1;
    for (int d = 0; d < static_cast<int>(media.size()); ++d) {
        Medium& donor = media[d];
        if (d == skip || &donor == &weakest) {
            continue;
        }
        const Bytes limit = std::min(room, donor.total - weakest.total - 1);
        if (limit <= bestGain) {
            continue;
        }
        const auto largestUpTo = [&](Bytes value) {
            const auto it = std::upper_bound(donor.items.begin(), donor.items.end(), value,
                                             [&](Bytes v, int item) { return v < bytes_[item]; });
            return static_cast<int>(it - donor.items.begin()) - 1;
        };
        const bool canMove =
            static_cast<int>(
                weakest.items.size())<rules_.maxItems&& static_cast<int>(donor.items.size()) - 1>
                rules_.minItems;
        if (canMove) {
            meter_.Step();
            const int take = largestUpTo(limit);
            if (take >= 0 && bytes_[donor.items[take]] > bestGain) {
                bestGain = bytes_[donor.items[take]];
                std::tie(bestDonor, bestTake, bestGive) = std::tuple(d, take, -1);
            }
        }
        for (int give = 0; give < static_cast<int>(weakest.items.size()); ++give) {
            meter_.Step();
            const Bytes given = bytes_[weakest.items[give]];
            const int take = largestUpTo(given + limit);
            if (take >= 0 && bytes_[donor.items[take]] - given > bestGain) {
                bestGain = bytes_[donor.items[take]] - given;
                std::tie(bestDonor, bestTake, bestGive) = std::tuple(d, take, give);
            }
        }
    }
    if (bestDonor < 0) {
        return false;
    }
    Medium& donor = media[bestDonor];
    const int taken = donor.items[bestTake];
    RemoveAt(donor, bestTake);
    if (bestGive >= 0) {
        const int given = weakest.items[bestGive];
        RemoveAt(weakest, bestGive);
        AddItem(donor, given);
    }
    AddItem(weakest, taken);
    return true;
}

// With a limit on the number of media, the fullest ones are kept, and each then refills itself
// from the items left out so that as much volume as possible is placed.
void Packer::KeepMediaCount(std::vector<Medium>& media, Medium& unplaced) {
    if (limits_.mediaCount <= 0 || static_cast<int>(media.size()) <= limits_.mediaCount) {
        return;
    }
    std::stable_sort(media.begin(), media.end(),
                     [](const Medium& a, const Medium& b) { return a.total > b.total; });
    std::vector<int> left = unplaced.items;
    for (std::size_t i = limits_.mediaCount; i < media.size(); ++i) {
        left.insert(left.end(), media[i].items.begin(), media[i].items.end());
    }
    media.resize(limits_.mediaCount);
    unplaced = MakeMedium(std::move(left));
    for (Medium& medium : media) {
        if (meter_.stopRequested()) {
            return;
        }
        Refill(medium, unplaced);
    }
}

// A medium with too few items first borrows items that fit from media that can spare one;
// failing that, its items move to other media with room, or stay unplaced.
void Packer::EnforceMinItems(std::vector<Medium>& media, Medium& unplaced) {
    if (rules_.minItems == 0) {
        return;
    }
    const auto tooFew = [&](const Medium& m) {
        return static_cast<int>(m.items.size()) <= rules_.minItems;
    };
    for (int v = 0; v < static_cast<int>(media.size()); ++v) {
        Medium& poor = media[v];
        while (tooFew(poor)) {
            int donor = -1;
            int at = -1;
            for (int d = 0; d < static_cast<int>(media.size()); ++d) {
                Medium& rich = media[d];
                if (d == v || static_cast<int>(rich.items.size()) - 1 <= rules_.minItems) {
                    continue;
                }
                // Smallest item first: the donor keeps its fill and the poor one gets its count.
                if (bytes_[rich.items[0]] <= rules_.capacity - poor.total &&
                    (donor < 0 || bytes_[rich.items[0]] < bytes_[media[donor].items[at]])) {
                    donor = d;
                    at = 0;
                }
            }
            if (donor < 0) {
                break;
            }
            const int item = media[donor].items[at];
            RemoveAt(media[donor], at);
            AddItem(poor, item);
        }
    }
    std::vector<Medium> kept;
    std::vector<int> loose;
    for (Medium& medium : media) {
        if (tooFew(medium)) {
            loose.insert(loose.end(), medium.items.begin(), medium.items.end());
        } else {
            kept.push_back(std::move(medium));
        }
    }
    media = std::move(kept);
    for (int item : loose) {
        AddItem(unplaced, item);
    }
}

// Best fit of left-out items into the room the media still have, largest item first.
void Packer::PlaceLeftovers(std::vector<Medium>& media, Medium& unplaced) {
    for (int at = static_cast<int>(unplaced.items.size()) - 1; at >= 0; --at) {
        const int item = unplaced.items[at];
        int best = -1;
        for (int m = 0; m < static_cast<int>(media.size()); ++m) {
            const bool fits = media[m].total + bytes_[item] <= rules_.capacity &&
                              static_cast<int>(media[m].items.size()) < rules_.maxItems;
            if (fits && (best < 0 || media[m].total > media[best].total)) {
                best = m;
            }
        }
        if (best >= 0) {
            RemoveAt(unplaced, at);
            AddItem(media[best], item);
        }
    }
}

std::vector<Medium> Packer::FirstFitPlan() {
    ItemPool sorted(PoolOf(candidates_));
    std::vector<PoolItem> items;
    for (int pos = 0; pos < sorted.size(); ++pos) {
        items.push_back({sorted.SizeAt(pos), sorted.IdAt(pos)});
    }
    std::vector<Medium> media;
    for (std::vector<int>& ids : FirstFitDecreasing(rules_.capacity, rules_.maxItems).Pack(items)) {
        media.push_back(MakeMedium(std::move(ids)));
    }
    return media;
}

Medium Packer::MakeMedium(std::vector<int> items) const {
    Medium medium;
    std::sort(items.begin(), items.end(), SmallerFirst());
    medium.items = std::move(items);
    for (int item : medium.items) {
        medium.total += bytes_[item];
    }
    return medium;
}

void Packer::AddItem(Medium& medium, int item) const {
    const auto at =
        std::lower_bound(medium.items.begin(), medium.items.end(), item, SmallerFirst());
    medium.items.insert(at, item);
    medium.total += bytes_[item];
}

void Packer::RemoveAt(Medium& medium, int at) const {
    medium.total -= bytes_[medium.items[at]];
    medium.items.erase(medium.items.begin() + at);
}

std::vector<PoolItem> Packer::PoolOf(const std::vector<int>& items) {
    meter_.Step(static_cast<std::int64_t>(items.size()));
    std::vector<PoolItem> pool;
    pool.reserve(items.size());
    for (int item : items) {
        pool.push_back({bytes_[item], item});
    }
    return pool;
}

PackPlan Packer::Output(std::vector<Medium> media, Medium unplaced) const {
    for (Medium& medium : media) {
        std::sort(medium.items.begin(), medium.items.end());
    }
    std::sort(media.begin(), media.end(), [](const Medium& a, const Medium& b) {
        return a.total != b.total ? a.total > b.total : a.items.front() < b.items.front();
    });
    PackPlan plan;
    for (Medium& medium : media) {
        plan.media.push_back(std::move(medium.items));
    }
    plan.unplaced = std::move(unplaced.items);
    plan.unplaced.insert(plan.unplaced.end(), oversize_.begin(), oversize_.end());
    std::sort(plan.unplaced.begin(), plan.unplaced.end());
    return plan;
}

}  // namespace

PackPlan PackFewestMedia(const std::vector<double>& sizes, const PackLimits& limits,
                         const PackProgress& progress) {
    return Packer(sizes, limits, progress).Run();
}

int FewestMediaLowerBound(const std::vector<double>& sizes, const PackLimits& limits) {
    const Bytes capacity = CapacityBytes(limits);
    std::vector<Bytes> fitting;
    for (double size : sizes) {
        if (capacity > 0 && ToBytes(size) <= capacity) {
            fitting.push_back(ToBytes(size));
        }
    }
    return LowerBound(std::move(fitting), capacity, std::max(1, limits.maxItems));
}

}  // namespace zv
