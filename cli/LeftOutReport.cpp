#include "cli/LeftOutReport.h"

#include "cli/ConsoleUi.h"
#include "cli/ExitStatus.h"
#include "core/settings/TextNumber.h"

namespace zv {

namespace {

std::string Bytes(double bytes) {
    return FormatGrouped(bytes) + " bytes";
}

}  // namespace

LeftOutReport::LeftOutReport(const std::vector<ProjectItem>& items, const RunSettings& settings,
                             double capacity, std::vector<ItemCollector::Skipped> skipped)
    : items_(items),
      settings_(settings),
      capacity_(capacity),
      unplaced_(FindUnplaced(items, settings, capacity)),
      skipped_(std::move(skipped)) {}

std::string LeftOutReport::Reason(const UnplacedItem& item) const {
    switch (item.reason) {
        case UnplacedReason::LargerThanMedium:
            return "larger than a medium (" + Bytes(item.bytes) + ", a medium holds " +
                   Bytes(capacity_) + ")";
        case UnplacedReason::LargerWithFileSystem:
            if (item.room <= 0) {
                return "a medium of " + Bytes(capacity_) +
                       " is too small for its ISO 9660 file system alone (--fs-allowance none "
                       "leaves no room for one)";
            }
            return "larger than a medium with its file system (takes " + Bytes(item.takes) +
                   " in ISO 9660, a medium holds " + Bytes(item.room) +
                   " beside the file system; --fs-allowance none leaves no room for one)";
        case UnplacedReason::MediaCountReached:
            return "the media count of " + std::to_string(settings_.MediaNum) +
                   " is reached (--media-count)";
        case UnplacedReason::ItemLimits:
            return "the items of a medium are limited to more than " +
                   std::to_string(settings_.MinFile) + " (--min-items) and at most " +
                   std::to_string(settings_.MaxFile) +
                   " (--max-items), which leaves no medium for it";
        case UnplacedReason::NotChosen:
            break;
    }
    return "no medium holds it (the packing found no place for it)";
}

void LeftOutReport::Write(std::ostream& err) const {
    for (const ItemCollector::Skipped& entry : skipped_) {
        err << "zarvopack-cli: skipped '" << Printable(entry.path) << "': it is " << entry.kind
            << ", which no disc holds\n";
    }
    double bytes = 0;
    for (const UnplacedItem& item : unplaced_) {
        bytes += item.bytes;
        err << "zarvopack-cli: not placed '" << Printable(items_[item.index].name)
            << "': " << Reason(item) << '\n';
    }
    if (!unplaced_.empty()) {
        err << "zarvopack-cli: " << unplaced_.size() << (unplaced_.size() == 1 ? " item" : " items")
            << " of " << Bytes(bytes) << " on no medium\n";
    }
}

int LeftOutReport::ExitStatus(bool allowed) const {
    return Empty() || allowed ? exit_status::kDone : exit_status::kLeftOut;
}

const char* ReasonName(UnplacedReason reason) {
    switch (reason) {
        case UnplacedReason::LargerThanMedium:
            return "larger_than_medium";
        case UnplacedReason::LargerWithFileSystem:
            return "larger_with_file_system";
        case UnplacedReason::MediaCountReached:
            return "media_count_reached";
        case UnplacedReason::ItemLimits:
            return "item_limits";
        case UnplacedReason::NotChosen:
            break;
    }
    return "not_chosen";
}

}  // namespace zv
