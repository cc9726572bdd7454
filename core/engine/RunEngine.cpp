#include "core/engine/RunEngine.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/engine/CombinationSearch.h"
#include "core/engine/FewestMediaPacker.h"
#include "core/engine/ImagePacker.h"
#include "core/engine/RemainingItems.h"
#include "core/engine/RunDisplay.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

using Clock = std::chrono::steady_clock;

// How often the words under the status line change: often enough to see the
// search move, seldom enough to cost nothing.
constexpr std::chrono::milliseconds kDetailInterval{200};

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The progress of one medium's search as the run dialog shows it.
class MediumProgress : public SearchDisplay {
  public:
    MediumProgress(RunDisplay& display, const CombinationSearch& search,
                   const RunParameters& params, const RunOptions& options)
        : display_(display), search_(search), params_(params), options_(options) {}

    void Start(int k) {
        initialSize_ = k;
        started_ = Clock::now();
        paused_ = {};
        lastDetail_ = started_;
        display_.SetStatus(RunDisplay::MediumStatusText(mediumNumber_));
        display_.Yield();
        const int v = SearchLevel();
        display_.SetBar(0, v, search_.ItemCount() - 1, v);
        display_.SetBar(1, 0, k - params_.minItems, 0);
        display_.Yield();
    }
    void SetMedium(int n) { mediumNumber_ = n; }
    // The time spent searching: the limit and the clock the user reads leave
    // out the pauses, or a long pause would end the medium on resuming.
    double Seconds() const { return SecondsSince(started_ + paused_); }

    void StepsDone() override {
        const Clock::time_point now = Clock::now();
        if (now - lastDetail_ >= kDetailInterval) {
            lastDetail_ = now;
            display_.Observer().DetailChanged(RunDisplay::SearchDetailText(
                mediumNumber_, Seconds(), search_.BestTotal() / params_.capacityBytes));
        }
        const int v = SearchLevel();
        const ProgressBarState& bar = display_.Bar(0);
        if (bar.min <= v && v <= bar.max)
            display_.SetValue(0, v);
        display_.Yield();
    }
    void SizeLowered() override {
        const int v = SearchLevel();
        display_.SetMin(0, v);
        display_.SetValue(0, v);
        const ProgressBarState& bar = display_.Bar(1);
        const int x = bar.max + params_.minItems - (search_.CurrentSize() - 1);
        if (bar.min <= x && x <= bar.max)
            display_.SetValue(1, x);
        display_.Yield();
    }
    bool DeadlinePassed() override {
        return options_.mediumTimeLimitSeconds > 0 && Seconds() >= options_.mediumTimeLimitSeconds;
    }
    void PauseWait() override {
        const Clock::time_point began = Clock::now();
        display_.Observer().PauseWait();
        paused_ += Clock::now() - began;
    }

    int InitialSize() const { return initialSize_; }

  private:
    // The level of the combination's largest item: how far the search has come.
    int SearchLevel() const { return search_.ItemCount() - 1 - search_.MirrorHead(); }

    RunDisplay& display_;
    const CombinationSearch& search_;
    const RunParameters& params_;
    const RunOptions& options_;
    int mediumNumber_ = 1;
    int initialSize_ = 0;
    Clock::time_point started_;
    Clock::duration paused_{};
    Clock::time_point lastDetail_;
};

// Item numbers largest first, equal sizes in item order.
std::vector<int32_t> LargestFirst(const std::vector<double>& sizes) {
    std::vector<int32_t> order(sizes.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int32_t>(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](int32_t a, int32_t b) { return sizes[a] > sizes[b]; });
    return order;
}

class EngineRun {
  public:
    EngineRun(const RunParameters& params, const RunItems& items, RunRequests& requests,
              RunObserver& observer, const RunOptions& options)
        : params_(params),
          items_(items),
          requests_(requests),
          display_(observer),
          progress_(display_, search_, params_, options),
          search_(params_, requests, progress_) {}

    PlanRunResult Run() {
        PlanRunResult result;
        result.end = Pack(result)      ? RunEnd::Completed
                     : requests_.abort ? RunEnd::Stopped
                                       : RunEnd::Failed;
        if (result.end != RunEnd::Completed) {
            result.media.clear();
            if (result.end == RunEnd::Stopped)
                result.message.reset();
        }
        result.reports = display_.Reports();
        return result;
    }

  private:
    bool Pack(PlanRunResult& result) {
        const std::vector<double>& ownSizes = items_.sizes;
        const int itemCount = static_cast<int>(ownSizes.size());
        result.media.assign(ownSizes.size(), 0);
        if (itemCount == 0) {
            // A project without items gives no run at all.
            result.message = RunMessage::Of(text_id::RunFailed);
            return false;
        }
        display_.ShowBar(1, true);
        display_.ShowBar(0, false);
        display_.SetBar(1, 0, itemCount - 1, 0);
        display_.SetStatus(ResString(text_id::SortingItems));
        display_.Yield();

        // With a file system's allowance the fewest-media method charges each
        // medium its image, from the member files; the sequential method
        // takes each item as what its files take on the medium, and every
        // medium keeps a reserve, which is no room for items.
        const bool images = params_.fileSystem == FileSystemAllowance::Iso9660;
        if (images && params_.method == PackingMethod::Sequential) {
            FileSystemEstimate allowance =
                EstimateIso9660(items_.files, itemCount, params_.capacityBytes);
            params_.capacityBytes -= allowance.mediumReserve;
            sizes_ = std::move(allowance.itemSizes);
        } else {
            sizes_ = ownSizes;
        }
        display_.SetValue(1, itemCount - 1);
        display_.Yield();
        return params_.method == PackingMethod::FewestMedia ? PackAllMedia(result, images)
                                                            : FillMedia(result);
    }

    // Medium after medium until nothing more can be placed; false when the
    // run was aborted or failed.
    bool FillMedia(PlanRunResult& result) {
        display_.ShowBar(0, true);
        display_.ShowBar(1, true);
        // The items left, largest first, as the search takes them.
        RemainingItems<int32_t> waiting(LargestFirst(sizes_));
        {
            std::vector<double> sizes(waiting.size());
            for (size_t i = 0; i < waiting.size(); ++i)
                sizes[i] = sizes_[static_cast<size_t>(waiting[i])];
            search_.SetItemSizes(std::move(sizes));
        }
        for (int n = 1;; ++n) {
            display_.SetValue(1, 0);
            display_.SetBar(0, 0, 3, 0);
            display_.SetStatus(RunDisplay::MediumStatusText(n));
            display_.Yield();
            if (params_.mediaCount > 0 && params_.mediaCount < n)
                return true;
            if (waiting.empty())
                return true;

            display_.SetStatus(ResString(text_id::ReadingItems));

            display_.SetValue(0, 1);
            display_.Yield();
            const CapacityResult bound = search_.CapacityBound();
            display_.SetValue(0, 2);
            display_.Yield();
            display_.SetValue(0, 3);
            display_.Yield();

            switch (bound.status) {
                case CapacityStatus::TooFew:
                    if (n == 1)
                        result.message = RunMessage::Of(text_id::TooFewForMinimum);
                    return true;
                case CapacityStatus::NoneFits:
                    if (n == 1)
                        result.message = RunMessage::Of(text_id::NoMediumMade);
                    return true;
                case CapacityStatus::AllFit:
                    search_.TakeLargest(bound.k);
                    display_.MediumChosen({n, 0, 0});
                    break;
                case CapacityStatus::Search:
                    if (!SearchMedium(n, bound.k))
                        return false;
                    break;
            }

            // Every medium that gets here holds at least one item that fits,
            // even when its items add up to nothing (empty files).
            display_.SetStatus(RunDisplay::RecordingStatusText(n));
            display_.Yield();
            const std::vector<int> positions = search_.StackToPositions(search_.BestStack());
            if (positions.empty() || positions.front() < 0) {
                // The same items would come round again without end.
                result.message = RunMessage::Of(text_id::RunFailed);
                return false;
            }
            for (const int position : positions)
                result.media[static_cast<size_t>(waiting[static_cast<size_t>(position)])] = n;
            waiting.Erase(positions);
            search_.RemoveItems(positions);
            if (n == params_.mediaCount)
                return true;
        }
    }

    // The whole collection at once on as few media as it can; false when the
    // run was aborted.
    bool PackAllMedia(PlanRunResult& result, bool images) {
        display_.ShowBar(0, true);
        display_.ShowBar(1, true);
        display_.SetStatus(ResString(text_id::SearchingFewestMedia));
        display_.Yield();

        const std::vector<int32_t> order = LargestFirst(sizes_);
        std::vector<double> sizes(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            sizes[i] = sizes_[static_cast<size_t>(order[i])];

        PackLimits limits;
        limits.capacity = params_.capacityBytes;
        limits.tolerance = params_.tolerance;
        limits.mediaCount = params_.mediaCount;
        limits.maxItems = params_.maxItems;
        limits.minItems = std::max<int>(params_.minItems, 0);
        PackPlan plan;
        if (limits.maxItems > 0) {
            const int bound = std::max(1, FewestMediaLowerBound(sizes, limits));
            display_.SetBar(0, 0, bound, 0);
            display_.SetBar(1, 0, 1000, 0);
            const Clock::time_point started = Clock::now();
            Clock::time_point lastDetail = started - kDetailInterval;
            display_.Observer().SearchRunning(true);
            const PackProgress progress = [&](const PackStatus& status) {
                return PackingControl(status, started, lastDetail, bound);
            };
            plan = images ? PackImages(ImageFiles(order), static_cast<int>(sizes.size()), limits,
                                       progress)
                          : PackFewestMedia(sizes, limits, progress);
            display_.Observer().SearchRunning(false);
            requests_.finish = false;
            if (plan.aborted)
                return false;
        }
        if (plan.media.empty()) {
            // Images take every item that fits by itself unless a medium needs
            // more items than that.
            const bool noneFits = limits.maxItems <= 0 ||
                                  (images ? limits.minItems == 0
                                          : std::all_of(sizes.begin(), sizes.end(), [&](double s) {
                                                return s > params_.capacityBytes;
                                            }));
            result.message =
                RunMessage::Of(noneFits ? text_id::NoMediumMade : text_id::TooFewForMinimum);
            return true;
        }
        for (size_t m = 0; m < plan.media.size(); ++m) {
            const int n = static_cast<int>(m) + 1;
            for (int index : plan.media[m])
                result.media[static_cast<size_t>(order[static_cast<size_t>(index)])] = n;
            display_.MediumChosen({n, 0, 0});
        }
        return true;
    }

    // The member files with the items' positions in `order` in place of
    // their numbers.
    std::vector<MemberFile> ImageFiles(const std::vector<int32_t>& order) const {
        std::vector<int> positions(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            positions[static_cast<size_t>(order[i])] = static_cast<int>(i);
        std::vector<MemberFile> files;
        files.reserve(items_.files.size());
        for (const MemberFile& file : items_.files) {
            if (file.item < 0 || file.item >= static_cast<int>(positions.size()))
                continue;
            files.push_back(file);
            files.back().item = positions[static_cast<size_t>(file.item)];
        }
        return files;
    }

    // Shows how far the packing has come, lets the user interface run, and
    // passes on the user's pause, abort and "確定".
    PackControl PackingControl(const PackStatus& status, Clock::time_point started,
                               Clock::time_point& lastDetail, int bound) {
        const Clock::time_point now = Clock::now();
        if (now - lastDetail >= kDetailInterval) {
            lastDetail = now;
            display_.SetValue(0, std::min(status.mediaSoFar, bound));
            display_.SetValue(1, static_cast<int>(std::clamp(status.bestFill, 0.0, 1.0) * 1000));
            display_.Observer().DetailChanged(RunDisplay::SearchDetailText(
                std::max(status.mediumBeingFilled, 1), SecondsSince(started), status.bestFill));
        }
        display_.Yield();
        while (requests_.pause && !requests_.abort)
            display_.Observer().PauseWait();
        if (requests_.abort)
            return PackControl::Abort;
        return requests_.finish ? PackControl::Finish : PackControl::Continue;
    }

    bool SearchMedium(int n, int k) {
        progress_.SetMedium(n);
        search_.ResetStack(k);
        display_.Observer().SearchRunning(true);
        progress_.Start(k);
        const bool searched = search_.SearchMedium(k);
        display_.Observer().SearchRunning(false);
        requests_.finish = false;
        if (!searched)
            return false;
        display_.MediumChosen({n, search_.StepCount(), progress_.Seconds()});
        if (search_.BestTotal() <= 0) {
            // The search never looks at the k smallest items of its first size
            // by themselves, although they are known to fit; when it found
            // nothing better, they form the medium.
            search_.ResetStack(k);
            search_.TakeStackAsBest();
        }
        return true;
    }

    // A copy: the capacity shrinks by the file system's reserve.
    RunParameters params_;
    const RunItems& items_;
    RunRequests& requests_;
    RunDisplay display_;
    // What each item takes on a medium, by item number.
    std::vector<double> sizes_;
    MediumProgress progress_;
    CombinationSearch search_;
};

}  // namespace

PlanRunResult RunEngine(const RunParameters& params, const RunItems& items, RunRequests& requests,
                        RunObserver& observer, const RunOptions& options) {
    EngineRun run(params, items, requests, observer, options);
    return run.Run();
}

}  // namespace zv
