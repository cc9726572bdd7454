#include "core/project/ProjectStatistics.h"

#include <algorithm>
#include <limits>

#include "core/platform/PlatformError.h"
#include "core/settings/SizeFromText.h"
#include "core/settings/TextNumber.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr int kFirstSuffix = 1111;  // the unit behind each value, 1111 to 1120

std::string WithSuffix(double value, int label) {
    return FormatGrouped(value) + ResString(kFirstSuffix + label);
}

}  // namespace

std::array<std::string, 10> ShowStatistics(const ProjectDocument& document) {
    double total = 0;
    double largest = 0;
    double smallest = std::numeric_limits<double>::infinity();
    double files = 0;
    int groups = 0;
    // What the items recorded when they were placed, not their sizes now.
    double placed = 0;
    for (const ItemRecord& item : document.Items()) {
        for (const FileRef& file : item.Files) {
            if (file.IsEmpty())
                continue;
            // A member whose file has gone is not counted.
            try {
                const double size = file.Size();
                total += size;
                largest = std::max(largest, size);
                smallest = std::min(smallest, size);
                ++files;
            } catch (const PlatformError&) {
            }
        }
        if (item.Files.size() >= 2)
            ++groups;
        if (item.Medium > 0)
            placed += item.Size;
    }
    double itemCount = static_cast<double>(document.Items().size());
    const double average = files > 0 ? total / files : 0;
    if (files == 0) {
        smallest = 0;
        itemCount = 0;
    }

    const int16_t highest = document.HighestMedium();
    const double capacity = highest * SizeFromText(document.GetRunSettings().MediaSize);

    return {ResString(text_id::ShownCountLabel) + FormatGrouped(itemCount) +
                ResString(text_id::ListedCountLabel) + WithSuffix(files, 0),
            WithSuffix(groups, 1),
            WithSuffix(total, 2),
            WithSuffix(largest, 3),
            WithSuffix(smallest, 4),
            WithSuffix(average, 5),
            highest == 0 ? ResString(text_id::NeverRun) : WithSuffix(highest, 6),
            WithSuffix(capacity, 7),
            WithSuffix(placed, 8),
            WithSuffix(capacity - placed, 9)};
}

}  // namespace zv
