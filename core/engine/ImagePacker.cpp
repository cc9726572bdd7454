#include "core/engine/ImagePacker.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <numeric>
#include <set>
#include <string>
#include <utility>

#include "core/engine/CommonFolder.h"
#include "core/engine/IsoImageModel.h"
#include "core/engine/WorkMeter.h"

namespace zv {

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kSector = 2048;
// A medium is closed after this many items in a row did not fit: past a few
// the next ones are as unlikely to, and each try costs its path's depth.
constexpr int kMisses = 64;
// Tries of later items for the room a medium has left at its end.
constexpr int kGapTries = 256;

struct Entry {
    std::string path;
    std::uint64_t size = 0;
    EntryKind kind = EntryKind::File;
    std::string target;
};

class ImagePackerRun {
  public:
    ImagePackerRun(const std::vector<MemberFile>& files, int itemCount, const PackLimits& limits,
                   const PackProgress& progress);
    PackPlan Run();

  private:
    void Change(IsoImageModel& model, int item, bool add) const;
    bool TryAdd(IsoImageModel& model, int item) const;
    // Takes the item at `position` of the order off the items still to place.
    void Take(int position);
    std::vector<int> FillMedium();

    std::vector<std::vector<Entry>> entries_;  // by item
    std::vector<int> order_;                   // items in the order of their paths
    std::vector<int> next_;                    // by position in order_; -1 ends
    std::vector<int> previous_;
    int head_ = -1;
    // Items still to place by their files' whole sectors, which no image can
    // charge them less than, and their position in order_.
    std::set<std::pair<std::uint64_t, int>> bySectors_;
    std::vector<std::uint64_t> sectorBytes_;  // by item
    std::vector<int> unplaced_;
    std::uint64_t capacity_ = 0;
    PackLimits limits_;
    WorkMeter meter_;
};

ImagePackerRun::ImagePackerRun(const std::vector<MemberFile>& files, int itemCount,
                               const PackLimits& limits, const PackProgress& progress)
    : entries_(static_cast<size_t>(std::max(itemCount, 0))),
      sectorBytes_(entries_.size(), 0),
      limits_(limits),
      meter_(progress) {
    capacity_ = static_cast<std::uint64_t>(std::max(0.0, limits.capacity));
    std::vector<std::string> paths;
    for (const MemberFile& file : files) {
        std::error_code ignored;
        paths.push_back(fs::absolute(file.path, ignored).lexically_normal().string());
    }
    const fs::path root = paths.empty() ? fs::path() : fs::path(CommonFolder(paths));
    std::vector<fs::path> first(entries_.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const int item = files[i].item;
        if (item < 0 || item >= itemCount)
            continue;
        const fs::path relative = fs::path(paths[i]).lexically_relative(root);
        const auto size = static_cast<std::uint64_t>(std::max(0.0, files[i].size));
        entries_[item].push_back({relative.generic_string(), size, files[i].kind, files[i].target});
        sectorBytes_[item] += (size + kSector - 1) / kSector * kSector;
        if (first[item].empty() || relative < first[item])
            first[item] = relative;
    }

    std::vector<int> items(entries_.size());
    std::iota(items.begin(), items.end(), 0);
    std::stable_sort(items.begin(), items.end(), [&](int a, int b) { return first[a] < first[b]; });
    for (const int item : items) {
        IsoImageModel alone;
        if (!entries_[item].empty() && TryAdd(alone, item)) {
            order_.push_back(item);
        } else {
            unplaced_.push_back(item);
        }
    }
    const int n = static_cast<int>(order_.size());
    next_.resize(order_.size());
    previous_.resize(order_.size());
    for (int p = 0; p < n; ++p) {
        next_[p] = p + 1 < n ? p + 1 : -1;
        previous_[p] = p - 1;
        bySectors_.insert({sectorBytes_[order_[p]], p});
    }
    head_ = n > 0 ? 0 : -1;
}

PackPlan ImagePackerRun::Run() {
    meter_.Begin();
    PackPlan plan;
    while (head_ >= 0 && !meter_.aborted() &&
           (limits_.mediaCount <= 0 || static_cast<int>(plan.media.size()) < limits_.mediaCount)) {
        meter_.SetStatus(static_cast<int>(plan.media.size()),
                         static_cast<int>(plan.media.size()) + 1);
        std::vector<int> medium = FillMedium();
        if (static_cast<int>(medium.size()) <= limits_.minItems) {
            unplaced_.insert(unplaced_.end(), medium.begin(), medium.end());
        } else {
            std::sort(medium.begin(), medium.end());
            plan.media.push_back(std::move(medium));
        }
    }
    if (meter_.aborted()) {
        plan = {};
        plan.aborted = true;
        plan.unplaced.resize(entries_.size());
        std::iota(plan.unplaced.begin(), plan.unplaced.end(), 0);
        return plan;
    }
    for (int p = head_; p >= 0; p = next_[p])
        unplaced_.push_back(order_[p]);
    plan.unplaced = std::move(unplaced_);
    std::sort(plan.unplaced.begin(), plan.unplaced.end());
    return plan;
}

std::vector<int> ImagePackerRun::FillMedium() {
    IsoImageModel model;
    std::vector<int> medium;
    const auto roomForItems = [&] { return static_cast<int>(medium.size()) < limits_.maxItems; };
    const auto take = [&](int position) {
        medium.push_back(order_[position]);
        Take(position);
        meter_.SetBestFill(static_cast<double>(model.ImageBytes()) /
                           static_cast<double>(capacity_));
    };

    // The items in the order of the tree while they fit.
    int misses = 0;
    for (int p = head_; p >= 0 && misses < kMisses && roomForItems();) {
        const int following = next_[p];
        meter_.Step(static_cast<std::int64_t>(entries_[order_[p]].size()));
        if (TryAdd(model, order_[p])) {
            take(p);
            misses = 0;
        } else {
            ++misses;
        }
        p = following;
    }

    // The room left, largest item first.
    int tries = 0;
    bool took = true;
    while (took && tries < kGapTries && roomForItems() && !bySectors_.empty()) {
        took = false;
        const std::uint64_t room = capacity_ - model.ImageBytes();
        auto candidate = bySectors_.upper_bound({room, INT_MAX});
        while (candidate != bySectors_.begin() && tries < kGapTries) {
            --candidate;
            ++tries;
            meter_.Step(static_cast<std::int64_t>(entries_[order_[candidate->second]].size()));
            if (TryAdd(model, order_[candidate->second])) {
                take(candidate->second);
                took = true;
                break;
            }
        }
    }
    return medium;
}

void ImagePackerRun::Change(IsoImageModel& model, int item, bool add) const {
    for (const Entry& entry : entries_[item]) {
        if (add) {
            model.Add(entry.path, entry.size, entry.kind, entry.target);
        } else {
            model.Remove(entry.path, entry.size, entry.kind, entry.target);
        }
    }
}

bool ImagePackerRun::TryAdd(IsoImageModel& model, int item) const {
    Change(model, item, true);
    if (model.ImageBytes() <= capacity_)
        return true;
    Change(model, item, false);
    return false;
}

void ImagePackerRun::Take(int position) {
    bySectors_.erase({sectorBytes_[order_[position]], position});
    const int before = previous_[position];
    const int after = next_[position];
    if (before >= 0) {
        next_[before] = after;
    } else {
        head_ = after;
    }
    if (after >= 0)
        previous_[after] = before;
}

}  // namespace

PackPlan PackImages(const std::vector<MemberFile>& files, int itemCount, const PackLimits& limits,
                    const PackProgress& progress) {
    return ImagePackerRun(files, itemCount, limits, progress).Run();
}

}  // namespace zv
