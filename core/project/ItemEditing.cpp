#include "core/project/ItemEditing.h"

#include <filesystem>
#include <system_error>

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/project/Grouping.h"
#include "core/project/ListSnapshot.h"
#include "core/project/TextCompare.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// Members are taken out and moved even when a file has gone meanwhile; such a
// member counts with the size last seen.
double SizeNow(const FileRef& file) {
    try {
        return file.Size();
    } catch (const PlatformError&) {
        return file.LastKnownSize();
    }
}

// Size and path list of an item made afresh from its members.
void Recount(ItemRecord& item) {
    item.Size = 0;
    item.PathList.clear();
    for (const FileRef& file : item.Files) {
        if (!item.PathList.empty())
            item.PathList += '\t';
        item.PathList += file.Path();
        item.Size += SizeNow(file);
    }
}

// Whether a member's file is still there after a drag. A file whose state
// cannot be read at all (an unreachable mount, a link that leads round in a
// circle) fails the check rather than leave the list as if it had moved away.
bool StillThere(const FileRef& file) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file.Path(), error);
    if (error && error != std::errc::no_such_file_or_directory &&
        error != std::errc::not_a_directory)
        throw PlatformError::PathAccess();
    return std::filesystem::is_regular_file(status);
}

std::vector<std::string> PathsOf(const std::vector<FileRef>& files) {
    std::vector<std::string> paths;
    for (const FileRef& file : files)
        paths.push_back(file.Path());
    return paths;
}

// What a paste moves: whole items cut at the top level, and the cut members of
// groups as parts of their groups.
struct CutFiles {
    std::vector<ItemRecord> records;
    // Some files come out of a group they were cut from one by one.
    bool fromGroup = false;
};

CutFiles GatherCut(const ProjectDocument& document) {
    CutFiles cut;
    for (const ItemRecord& item : document.Items()) {
        if (item.Cut.IsWhole()) {
            cut.records.push_back(item);
        } else if (!item.Cut.IsEmpty()) {
            ItemRecord part;
            part.Files.clear();
            part.Name = item.Name;
            for (const int16_t member : item.Cut.Members()) {
                if (member >= 0 && member < static_cast<int>(item.Files.size()))
                    part.Files.push_back(item.Files[member]);
            }
            if (part.Files.empty())
                continue;
            Recount(part);
            cut.fromGroup = cut.fromGroup || part.IsGroup();
            cut.records.push_back(std::move(part));
        }
    }
    return cut;
}

bool PasteAtTopLevel(ProjectDocument& document, const std::vector<ItemRecord>& records) {
    for (const ItemRecord& record : records) {
        if (!TakeOutItems(document, PathsOf(record.Files)) || !document.AddFiles(record.Files, ""))
            return false;
    }
    return true;
}

bool PasteIntoGroup(ProjectDocument& document, const CutFiles& cut) {
    if (cut.fromGroup &&
        ShowMessage(ResString(text_id::AskMergeIntoGroup), ResString(text_id::AddGroupItemsTitle),
                    MsgButtons::OKCancel) != MsgResult::OK)
        return false;
    std::vector<FileRef> files;
    for (const ItemRecord& record : cut.records)
        files.insert(files.end(), record.Files.begin(), record.Files.end());
    const std::string group = document.GetOpenGroup();
    return TakeOutItems(document, PathsOf(files)) && AddToGroup(document, group, files);
}

}  // namespace

std::optional<ItemPosition> FindItem(const ProjectDocument& document, const std::string& name) {
    const std::vector<ItemRecord>& items = document.Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ItemRecord& item = items[i];
        // The placeholder of an empty project stands for nothing.
        if (!item.HasFiles())
            continue;
        for (std::size_t m = 0; m < item.Files.size(); ++m) {
            if (!item.Files[m].IsEmpty() && item.Files[m].Path() == name)
                return ItemPosition{static_cast<int>(i), item.IsGroup() ? static_cast<int>(m) : -1};
        }
        if (SameTextIgnoringCase(item.Name, name))
            return ItemPosition{static_cast<int>(i), -1};
    }
    return std::nullopt;
}

bool TakeOutItems(ProjectDocument& document, const std::vector<std::string>& names) {
    const bool done = [&] {
        std::vector<ItemRecord>& items = document.Items();
        for (const std::string& name : names) {
            const std::optional<ItemPosition> found = FindItem(document, name);
            if (!found)
                return false;
            const auto item = items.begin() + found->item;
            if (found->member < 0 || item->Files.size() == 1) {
                items.erase(item);
            } else {
                item->Files.erase(item->Files.begin() + found->member);
                Recount(*item);
            }
            if (items.empty())
                document.ResetItems();
        }
        document.SetModified(true);
        return true;
    }();
    document.ClearCutMarks();
    return done;
}

void MarkCut(ProjectDocument& document, const std::vector<std::string>& tags) {
    for (const std::string& tag : tags) {
        const std::optional<ItemPosition> found = FindItem(document, tag);
        if (!found)
            return;
        CutMarks& marks = document.Items()[found->item].Cut;
        if (found->member < 0)
            marks.MarkWhole();
        else
            marks.MarkMember(static_cast<int16_t>(found->member));
    }
}

bool PasteCut(ProjectDocument& document) {
    const bool pasted = [&] {
        const CutFiles cut = GatherCut(document);
        // With nothing marked there is nothing to move, and nothing changes.
        if (cut.records.empty())
            return true;
        const ListSnapshot before(document);
        const bool moved = document.GetOpenGroup().empty() ? PasteAtTopLevel(document, cut.records)
                                                           : PasteIntoGroup(document, cut);
        if (!moved) {
            before.Restore(document);
            return false;
        }
        document.SetModified(true);
        return true;
    }();
    document.ClearCutMarks();
    return pasted;
}

bool KeepExistingMembers(ProjectDocument& document) {
    std::vector<ItemRecord> kept;
    try {
        for (const ItemRecord& item : document.Items()) {
            ItemRecord remaining;
            remaining.Files.clear();
            remaining.Name = item.Name;
            remaining.Medium = item.Medium;
            for (const FileRef& file : item.Files) {
                if (!file.IsEmpty() && StillThere(file))
                    remaining.Files.push_back(file);
            }
            if (remaining.Files.empty())
                continue;
            if (item.IsGroup()) {
                remaining.Size = 0;
                for (const FileRef& file : remaining.Files) {
                    if (!remaining.PathList.empty())
                        remaining.PathList += '\t';
                    remaining.PathList += file.Path();
                    remaining.Size += file.Size();
                }
            } else {
                remaining.Size = item.Size;
                remaining.PathList = item.PathList;
            }
            kept.push_back(std::move(remaining));
        }
    } catch (const PlatformError&) {
        return false;
    }
    if (kept.empty())
        kept.emplace_back();
    document.Items() = std::move(kept);
    return true;
}

}  // namespace zv
