#include "core/project/ListRenderer.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "core/platform/PlatformError.h"
#include "core/project/TextCompare.h"
#include "core/settings/FileSystem.h"
#include "core/settings/TextNumber.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// The position of the group named `name` (in any letter case) among `items`,
// or nothing; single files never match.
std::optional<std::size_t> FindOpenableGroup(const std::vector<ItemRecord>& items,
                                             const std::string& name) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].HasFiles() && items[i].IsGroup() && SameTextIgnoringCase(items[i].Name, name))
            return i;
    }
    return std::nullopt;
}

// A member is drawn even when its file has gone: it shows the size last seen.
double SizeForDrawing(const FileRef& file) {
    try {
        return file.Size();
    } catch (const PlatformError&) {
        return file.LastKnownSize();
    }
}

// A group keeps its name even when the name looks like the path of a file.
std::string TopLevelText(const ItemRecord& item, PathMode pathMode) {
    if (pathMode == FileNamesOnly && !item.IsGroup() && FileExists(item.Name))
        return std::filesystem::path(item.Name).filename().string();
    return item.Name;
}

}  // namespace

ListContent RenderList(ProjectDocument& document, int list, const std::string& group,
                       int16_t medium) {
    ListContent content;
    // The file list reads the items where they are: a copy of a large list
    // costs more than drawing it.
    std::vector<ItemRecord> ofMedium;
    if (list != 0) {
        bool found = false;
        ofMedium = document.ItemsOfMedium(medium, found);
        if (!found)
            return content;
    }
    const std::vector<ItemRecord>& source = list == 0 ? document.Items() : ofMedium;

    std::optional<std::size_t> opened;
    if (!group.empty()) {
        opened = FindOpenableGroup(source, group);
        if (!opened) {
            if (group == document.GetOpenGroup())
                document.SetOpenGroup("");
            return RenderList(document, list, document.GetOpenGroup(), medium);
        }
    }
    document.SetOpenGroup(group);

    const SizeUnit unit = document.GetSizeUnit();
    if (opened) {
        content.groupOpened = true;
        content.rows.push_back({"..", "", IconGroup, ""});
        const ItemRecord& item = source[*opened];
        for (std::size_t m = 0; m < item.Files.size(); ++m) {
            const FileRef& file = item.Files[m];
            content.rows.push_back({file.Path(), SizeText(SizeForDrawing(file), unit),
                                    ItemIcon(IconFile, static_cast<int>(m), item.Cut),
                                    file.Path()});
        }
    } else if (!document.IsEmpty()) {
        for (const ItemRecord& item : source) {
            const int icon = item.IsGroup() ? IconGroup : IconFile;
            content.rows.push_back({TopLevelText(item, document.GetPathMode()),
                                    SizeText(item.Size, unit), ItemIcon(icon, 0, item.Cut),
                                    item.Name});
        }
    }
    PadSizeTexts(content.rows);

    if (list == 1) {
        content.itemCount = static_cast<int>(source.size());
        for (const ItemRecord& item : source)
            content.totalSize += item.Size;
    }
    return content;
}

std::string SizeText(double bytes, SizeUnit unit) {
    double divisor = 1;
    std::string suffix;
    switch (unit) {
        case UnitGigabytes:
            divisor = 1e9;
            suffix = ResString(text_id::GigabytesUnit);
            break;
        case UnitMegabytes:
            divisor = 1e6;
            suffix = ResString(text_id::MegabytesUnit);
            break;
        case UnitKilobytes:
            divisor = 1e3;
            suffix = ResString(text_id::KilobytesUnit);
            break;
        default:
            break;
    }
    return FormatGrouped(RoundHalfEven(bytes / divisor)) + suffix;
}

void PadSizeTexts(std::vector<ListRow>& rows) {
    std::size_t longest = 0;
    for (const ListRow& row : rows)
        longest = std::max(longest, row.sizeText.size());
    for (ListRow& row : rows) {
        if (!row.sizeText.empty())
            row.sizeText.insert(0, longest - row.sizeText.size(), ' ');
    }
}

int ItemIcon(int icon, int member, const CutMarks& cut) {
    const bool marked = cut.Covers(member);
    if (marked && icon == IconFile)
        return IconFileCut;
    if (marked && icon == IconGroup)
        return IconGroupCut;
    return icon;
}

}  // namespace zv
