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
#include "core/engine/FewestMediaPacker.h"
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

// Media in the making: items by medium, and the items that fit a medium by
// themselves but were left out.
struct Media {
    std::vector<std::vector<int>> media;
    std::vector<int> rest;
};

class ImagePackerRun {
  public:
    ImagePackerRun(const std::vector<MemberFile>& files, int itemCount, const PackLimits& limits,
                   const PackProgress& progress);
    PackPlan Run();

  private:
    // The items at `positions` of the order (ascending), in that order onto
    // at most `mostMedia` media.
    Media InTreeOrder(const std::vector<int>& positions, int mostMedia);
    // The fewest-media packer on what each item's image costs by itself (its
    // folders included, so mostly more than it costs beside others); an
    // image that still passes the capacity gives up its smallest items,
    // which then go in the order of the tree.
    Media BySize();
    void Change(IsoImageModel& model, int item, bool add) const;
    // Adds the item to the medium when its image then fits, and says by how
    // much it would not (0 when it was added).
    std::uint64_t Excess(IsoImageModel& model, int item) const;
    // Takes the item at `position` of the order off the items still to place.
    void Take(int position);
    std::vector<int> FillMedium();
    // A medium holding no more than the minimum item count gives its items
    // back.
    void DropPoorMedia(Media& media) const;

    std::vector<std::vector<Entry>> entries_;  // by item
    std::vector<int> order_;                   // items in the order of their paths
    std::vector<std::uint64_t> charges_;       // by position: its image less an empty one
    std::vector<int> next_;                    // by position in order_; -1 ends
    std::vector<int> previous_;
    int head_ = -1;
    // Items still to place by their files' whole sectors, which no image can
    // charge them less than, and their position in order_.
    std::set<std::pair<std::uint64_t, int>> bySectors_;
    std::vector<std::uint64_t> sectorBytes_;  // by item
    std::vector<int> oversize_;
    std::uint64_t capacity_ = 0;
    std::uint64_t emptyImage_ = 0;
    PackLimits limits_;
    const PackProgress& progress_;
    WorkMeter meter_;
    bool aborted_ = false;
};

ImagePackerRun::ImagePackerRun(const std::vector<MemberFile>& files, int itemCount,
                               const PackLimits& limits, const PackProgress& progress)
    : entries_(static_cast<size_t>(std::max(itemCount, 0))),
      sectorBytes_(entries_.size(), 0),
      limits_(limits),
      progress_(progress),
      meter_(progress) {
    capacity_ = static_cast<std::uint64_t>(std::max(0.0, limits.capacity));
    emptyImage_ = IsoImageModel().ImageBytes();
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
        if (!entries_[item].empty() && Excess(alone, item) == 0) {
            order_.push_back(item);
            charges_.push_back(alone.ImageBytes() - emptyImage_);
        } else {
            oversize_.push_back(item);
        }
    }
    next_.resize(order_.size());
    previous_.resize(order_.size());
}

PackPlan ImagePackerRun::Run() {
    meter_.Begin();
    const int mostMedia = limits_.mediaCount > 0 ? limits_.mediaCount : INT_MAX;
    std::vector<int> all(order_.size());
    std::iota(all.begin(), all.end(), 0);
    Media best = InTreeOrder(all, mostMedia);
    DropPoorMedia(best);
    // Where items are large beside the capacity the tree's order leaves
    // gaps that a search by size closes; the tree's order wins a tie.
    if (!meter_.stopRequested()) {
        Media sized = BySize();
        DropPoorMedia(sized);
        if (sized.rest.size() < best.rest.size() ||
            (sized.rest.size() == best.rest.size() && sized.media.size() < best.media.size()))
            best = std::move(sized);
    }
    PackPlan plan;
    if (aborted_ || meter_.aborted()) {
        plan.aborted = true;
        plan.unplaced.resize(entries_.size());
        std::iota(plan.unplaced.begin(), plan.unplaced.end(), 0);
        return plan;
    }
    for (std::vector<int>& medium : best.media) {
        std::sort(medium.begin(), medium.end());
        plan.media.push_back(std::move(medium));
    }
    plan.unplaced = std::move(best.rest);
    plan.unplaced.insert(plan.unplaced.end(), oversize_.begin(), oversize_.end());
    std::sort(plan.unplaced.begin(), plan.unplaced.end());
    return plan;
}

Media ImagePackerRun::InTreeOrder(const std::vector<int>& positions, int mostMedia) {
    bySectors_.clear();
    head_ = positions.empty() ? -1 : positions.front();
    for (size_t i = 0; i < positions.size(); ++i) {
        const int p = positions[i];
        next_[p] = i + 1 < positions.size() ? positions[i + 1] : -1;
        previous_[p] = i > 0 ? positions[i - 1] : -1;
        bySectors_.insert({sectorBytes_[order_[p]], p});
    }
    Media result;
    while (head_ >= 0 && !meter_.aborted() && static_cast<int>(result.media.size()) < mostMedia) {
        meter_.SetStatus(static_cast<int>(result.media.size()),
                         static_cast<int>(result.media.size()) + 1);
        result.media.push_back(FillMedium());
    }
    for (int p = head_; p >= 0; p = next_[p])
        result.rest.push_back(order_[p]);
    return result;
}

Media ImagePackerRun::BySize() {
    std::vector<double> charges(charges_.begin(), charges_.end());
    PackLimits limits = limits_;
    limits.capacity = static_cast<double>(capacity_ - emptyImage_);
    const PackPlan sized = PackFewestMedia(charges, limits, progress_);
    Media result;
    if (sized.aborted) {
        aborted_ = true;
        return result;
    }
    std::vector<int> loose = sized.unplaced;
    std::vector<std::vector<int>> kept;
    std::vector<std::uint64_t> images;
    for (std::vector<int> positions : sized.media) {
        std::sort(positions.begin(), positions.end(),
                  [&](int a, int b) { return charges_[a] > charges_[b]; });
        IsoImageModel model;
        for (const int p : positions)
            Change(model, order_[p], true);
        while (model.ImageBytes() > capacity_) {
            Change(model, order_[positions.back()], false);
            loose.push_back(positions.back());
            positions.pop_back();
        }
        kept.push_back(std::move(positions));
        images.push_back(model.ImageBytes());
    }
    // The items given up join the least full medium's, so that the plan
    // still ends in one medium that holds the remainder.
    if (!loose.empty() && !kept.empty()) {
        const auto least = std::min_element(images.begin(), images.end()) - images.begin();
        loose.insert(loose.end(), kept[least].begin(), kept[least].end());
        kept.erase(kept.begin() + least);
    }
    for (const std::vector<int>& positions : kept) {
        std::vector<int> medium;
        for (const int p : positions)
            medium.push_back(order_[p]);
        result.media.push_back(std::move(medium));
    }
    std::sort(loose.begin(), loose.end());
    const int mostMedia = limits_.mediaCount > 0
                              ? limits_.mediaCount - static_cast<int>(result.media.size())
                              : INT_MAX;
    Media more = InTreeOrder(loose, mostMedia);
    result.media.insert(result.media.end(), more.media.begin(), more.media.end());
    result.rest = std::move(more.rest);
    return result;
}

void ImagePackerRun::DropPoorMedia(Media& media) const {
    std::vector<std::vector<int>> kept;
    for (std::vector<int>& medium : media.media) {
        if (static_cast<int>(medium.size()) > limits_.minItems) {
            kept.push_back(std::move(medium));
        } else {
            media.rest.insert(media.rest.end(), medium.begin(), medium.end());
        }
    }
    media.media = std::move(kept);
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
        if (Excess(model, order_[p]) == 0) {
            take(p);
            misses = 0;
        } else {
            ++misses;
        }
        p = following;
    }

    // The room left, largest item first. An item that passes the capacity
    // by some bytes tells that the next ones up to that much smaller would
    // most likely too (their records and folders cost much the same), so the
    // tries go on below them.
    int tries = 0;
    bool took = true;
    while (took && tries < kGapTries && roomForItems() && !bySectors_.empty()) {
        took = false;
        const std::uint64_t room = capacity_ - model.ImageBytes();
        auto candidate = bySectors_.upper_bound({room, INT_MAX});
        while (candidate != bySectors_.begin() && tries < kGapTries) {
            --candidate;
            ++tries;
            const int item = order_[candidate->second];
            meter_.Step(static_cast<std::int64_t>(entries_[item].size()));
            const std::uint64_t excess = Excess(model, item);
            if (excess == 0) {
                take(candidate->second);
                took = true;
                break;
            }
            const std::uint64_t below = candidate->first > excess ? candidate->first - excess : 0;
            candidate = bySectors_.upper_bound({below, INT_MAX});
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

std::uint64_t ImagePackerRun::Excess(IsoImageModel& model, int item) const {
    Change(model, item, true);
    const std::uint64_t image = model.ImageBytes();
    if (image <= capacity_)
        return 0;
    Change(model, item, false);
    return image - capacity_;
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
