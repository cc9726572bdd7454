#include "core/engine/RunEngine.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <unordered_map>
#include <vector>

#include "core/engine/CombinationSearch.h"
#include "core/engine/FewestMediaPacker.h"
#include "core/engine/ImagePacker.h"
#include "core/engine/ProjectFileMessage.h"
#include "core/engine/ResultRecorder.h"
#include "core/engine/RunDisplay.h"
#include "core/engine/WorkDatabase.h"
#include "core/platform/FileError.h"
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
                mediumNumber_, Seconds(), search_.BestTotal() / params_.mediaSize));
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

class EngineRun {
  public:
    EngineRun(const RunParameters& params, RunRequests& requests, RunObserver& observer,
              const RunOptions& options)
        : params_(params),
          requests_(requests),
          display_(observer),
          work_(params_, display_),
          progress_(display_, search_, params_, options),
          search_(params_, requests, progress_),
          recorder_(work_.Connection(), display_, search_) {}

    bool Run() {
        bool completed = false;
        try {
            if (const Status created = work_.CreateWorkDatabase(); !created.ok()) {
                display_.Message(ProjectFileMessage(created, text_id::DatabaseOpenFailed));
            } else if (work_.PrepareItemTable()) {
                // What every medium keeps for its file system is no room for items.
                params_.mediaSize -= work_.MediumReserve();
                completed =
                    params_.method == PackingMethod::FewestMedia ? PackAllMedia() : FillMedia();
            }
        } catch (const std::exception&) {
            completed = false;
        }
        work_.Close();
        if (!completed) {
            work_.DiscardWorkDatabase();
        } else if (const Status committed = work_.CommitWorkDatabase();
                   !committed.ok() && committed.code() != FileError::NotSynced) {
            // Results that never reached the project file are no results;
            // results in its place whose folder was not synced are.
            display_.Message(ProjectFileMessage(committed, text_id::ResultsNotSaved));
            completed = false;
        }
        return completed;
    }

  private:
    // Medium after medium until nothing more can be placed; false when the
    // run was aborted or failed.
    bool FillMedia() {
        display_.ShowBar(0, true);
        display_.ShowBar(1, true);
        size_t itemsLeft = SIZE_MAX;
        for (int n = 1;; ++n) {
            display_.SetValue(1, 0);
            display_.SetBar(0, 0, 3, 0);
            display_.SetStatus(RunDisplay::MediumStatusText(n));
            display_.Yield();
            if (params_.mediaCount > 0 && params_.mediaCount < n)
                return true;

            std::vector<double> sizes;
            if (!work_.LoadItemSizes(sizes))
                return false;
            if (sizes.empty())
                return true;
            // Every medium recorded takes its items out of GP. Were they still
            // there, the same medium would come round again without end.
            if (sizes.size() >= itemsLeft) {
                display_.Message(text_id::UpdateFailed);
                return false;
            }
            itemsLeft = sizes.size();
            search_.SetItemSizes(std::move(sizes));

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
                        display_.Message(text_id::TooFewForMinimum);
                    return true;
                case CapacityStatus::NoneFits:
                    if (n == 1)
                        display_.Message(text_id::NoMediumMade);
                    return true;
                case CapacityStatus::AllFit:
                    search_.TakeLargest(bound.k);
                    display_.Observer().MediumChosen({n, 0, 0});
                    break;
                case CapacityStatus::Search:
                    if (!SearchMedium(n, bound.k))
                        return false;
                    break;
            }

            // Every medium that gets here holds at least one item that fits,
            // even when its items add up to nothing (empty files).
            if (!recorder_.RecordMedium(n, search_.BestStack()))
                return false;
            if (n == params_.mediaCount)
                return true;
        }
    }

    // The whole collection at once on as few media as it can; false when the
    // run was aborted or its plan could not be recorded.
    bool PackAllMedia() {
        display_.ShowBar(0, true);
        display_.ShowBar(1, true);
        display_.SetStatus(ResString(text_id::SearchingFewestMedia));
        display_.Yield();

        std::vector<int16_t> itemNumbers;
        std::vector<double> sizes;
        if (!work_.LoadItems(itemNumbers, sizes))
            return false;
        if (sizes.empty())
            return true;

        PackLimits limits;
        limits.capacity = params_.mediaSize;
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
            plan = work_.MemberFiles().empty()
                       ? PackFewestMedia(sizes, limits, progress)
                       : PackImages(ImageFiles(itemNumbers), static_cast<int>(sizes.size()), limits,
                                    progress);
            display_.Observer().SearchRunning(false);
            requests_.finish = false;
            if (plan.aborted)
                return false;
        }
        if (plan.media.empty()) {
            // Images take every item that fits by itself unless a medium needs
            // more items than that.
            const bool noneFits =
                limits.maxItems <= 0 ||
                (work_.MemberFiles().empty()
                     ? std::all_of(sizes.begin(), sizes.end(),
                                   [&](double s) { return s > params_.mediaSize; })
                     : limits.minItems == 0);
            display_.Message(noneFits ? text_id::NoMediumMade : text_id::TooFewForMinimum);
            return true;
        }

        std::vector<MediumItems> media;
        media.reserve(plan.media.size());
        for (size_t m = 0; m < plan.media.size(); ++m) {
            MediumItems medium;
            for (int index : plan.media[m]) {
                medium.itemNumbers.push_back(itemNumbers[index]);
                medium.sizes.push_back(sizes[index]);
            }
            media.push_back(std::move(medium));
            display_.Observer().MediumChosen({static_cast<int>(m) + 1, 0, 0});
        }
        // A plan that cannot be recorded fails the run: the project keeps what
        // it held.
        return recorder_.RecordMedia(media);
    }

    // The member files with the items' positions in `itemNumbers` in place
    // of their numbers.
    std::vector<MemberFile> ImageFiles(const std::vector<int16_t>& itemNumbers) const {
        std::unordered_map<int, int> positions;
        for (size_t i = 0; i < itemNumbers.size(); ++i)
            positions[itemNumbers[i]] = static_cast<int>(i);
        std::vector<MemberFile> files;
        for (const MemberFile& file : work_.MemberFiles()) {
            if (const auto found = positions.find(file.item); found != positions.end()) {
                files.push_back(file);
                files.back().item = found->second;
            }
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
        display_.Observer().MediumChosen({n, search_.StepCount(), progress_.Seconds()});
        if (search_.BestTotal() <= 0) {
            // The search never looks at the k smallest items of its first size
            // by themselves, although they are known to fit; when it found
            // nothing better, they form the medium.
            search_.ResetStack(k);
            search_.TakeStackAsBest();
        }
        return true;
    }

    // A copy: the capacity shrinks by the file system's reserve once the items
    // are known.
    RunParameters params_;
    RunRequests& requests_;
    RunDisplay display_;
    WorkDatabase work_;
    MediumProgress progress_;
    CombinationSearch search_;
    ResultRecorder recorder_;
};

}  // namespace

bool RunEngine(const RunParameters& params, RunRequests& requests, RunObserver& observer,
               const RunOptions& options) {
    EngineRun run(params, requests, observer, options);
    return run.Run();
}

}  // namespace zv
