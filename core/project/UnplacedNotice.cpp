#include "core/project/UnplacedNotice.h"

#include <algorithm>

#include "core/platform/PlatformError.h"
#include "core/settings/CapacityText.h"
#include "core/settings/SizePresets.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// A box names this many items and counts the rest.
constexpr std::size_t kNamesShown = 5;

}  // namespace

std::string UnplacedReasonText(UnplacedReason reason) {
    switch (reason) {
        case UnplacedReason::LargerThanMedium:
            return ResString(text_id::UnplacedLargerThanMedium);
        case UnplacedReason::LargerWithFileSystem:
            return ResString(text_id::UnplacedLargerWithFileSystem);
        case UnplacedReason::MediaCountReached:
            return ResString(text_id::UnplacedMediaCountReached);
        case UnplacedReason::ItemLimits:
            return ResString(text_id::UnplacedItemLimits);
        case UnplacedReason::NotChosen:
            break;
    }
    return ResString(text_id::UnplacedNotChosen);
}

double CapacityOf(const RunSettings& settings) {
    try {
        return CapacityFromText(settings.MediaSize, ReadSizePresets()).value_or(0);
    } catch (const PlatformError&) {
        return 0;
    }
}

std::string UnplacedNotice(const std::vector<ProjectItem>& items, const RunSettings& settings) {
    const bool run = std::any_of(items.begin(), items.end(),
                                 [](const ProjectItem& item) { return item.medium > 0; });
    if (!run)
        return {};
    const std::vector<UnplacedItem> unplaced = FindUnplaced(items, settings, CapacityOf(settings));
    if (unplaced.empty())
        return {};
    std::string notice = ResString(text_id::UnplacedNoticeHeading) + "\r\n";
    for (std::size_t i = 0; i < unplaced.size() && i < kNamesShown; ++i) {
        notice += items[unplaced[i].index].name + ResString(text_id::UnplacedNoticeSeparator) +
                  UnplacedReasonText(unplaced[i].reason) + "\r\n";
    }
    if (unplaced.size() > kNamesShown) {
        std::string more = ResString(text_id::ExportMoreCount);
        more.replace(more.find("%1"), 2, std::to_string(unplaced.size() - kNamesShown));
        notice += more + "\r\n";
    }
    return notice;
}

}  // namespace zv
