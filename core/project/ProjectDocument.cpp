#include "core/project/ProjectDocument.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/project/DefaultRunSettings.h"
#include "core/settings/AppState.h"
#include "core/settings/ShowError.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// The number of items the project holds; an empty project holds none.
std::size_t ItemCount(const ProjectDocument& document) {
    return document.IsEmpty() ? 0 : document.Items().size();
}

ItemRecord SingleFileItem(const FileRef& file) {
    ItemRecord item;
    item.Files = {file};
    item.Name = file.Path();
    item.Size = file.Size();
    item.PathList = file.Path();
    return item;
}

void AddMember(ItemRecord& group, const FileRef& file) {
    const double size = file.Size();
    if (group.HasFiles()) {
        group.Files.push_back(file);
        group.PathList += '\t';
    } else {
        group.Files.front() = file;
    }
    group.Size += size;
    group.PathList += file.Path();
}

}  // namespace

ProjectDocument::ProjectDocument() {
    AppState& app = App();
    ++app.untitledCounter;
    caption_ = app.untitledName + std::to_string(app.untitledCounter);
    LoadDefaultRunSettings(DefaultRunSettings());
    settings_ = DefaultRunSettings();
}

bool ProjectDocument::IsEmpty() const {
    return !items_.front().HasFiles();
}

void ProjectDocument::ResetItems() {
    items_ = {ItemRecord()};
}

void ProjectDocument::SetRunSettings(const RunSettings& settings) {
    settings_ = settings;
    modified_ = true;
}

bool ProjectDocument::AddFiles(std::vector<FileRef> files, const std::string& groupName) {
    const bool added = [&] {
        if (files.empty() || files.front().IsEmpty() || DropRegistered(files) == 0)
            return false;
        const std::size_t newItems = groupName.empty() ? files.size() : 1;
        if (ItemCount(*this) + newItems > static_cast<std::size_t>(kMaxProjectItems)) {
            ShowMessage(ResString(text_id::TooManyItems));
            return false;
        }

        const std::vector<ItemRecord> kept = items_;
        const std::string keptGroup = openGroup_;
        try {
            if (!groupName.empty()) {
                if (!IsEmpty())
                    items_.emplace_back();
                items_.back().Name = groupName;
                openGroup_ = groupName;
                for (const FileRef& file : files)
                    AddMember(items_.back(), file);
            } else {
                for (const FileRef& file : files) {
                    ItemRecord item = SingleFileItem(file);
                    if (IsEmpty())
                        items_.front() = std::move(item);
                    else
                        items_.push_back(std::move(item));
                }
            }
        } catch (const PlatformError& error) {
            ShowError(error);
            items_ = kept;
            openGroup_ = keptGroup;
            return false;
        }
        modified_ = true;
        return true;
    }();
    ClearCutMarks();
    if (added)
        RecordEdit();
    return added;
}

void ProjectDocument::RecordEdit() {
    history_.Record({items_, openGroup_});
}

void ProjectDocument::ForgetEdits() {
    history_.Reset({items_, openGroup_});
}

bool ProjectDocument::Undo() {
    // A change not recorded yet is the step undone first.
    RecordEdit();
    if (!history_.CanUndo())
        return false;
    TakeState(history_.Undo());
    return true;
}

bool ProjectDocument::Redo() {
    RecordEdit();
    if (!history_.CanRedo())
        return false;
    TakeState(history_.Redo());
    return true;
}

void ProjectDocument::TakeState(EditHistory::State state) {
    items_ = std::move(state.items);
    openGroup_ = std::move(state.openGroup);
    modified_ = true;
}

int ProjectDocument::DropRegistered(std::vector<FileRef>& files) const {
    std::unordered_set<std::string> registered;
    for (const ItemRecord& item : items_) {
        for (const FileRef& member : item.Files) {
            if (!member.IsEmpty())
                registered.insert(member.Path());
        }
    }
    // A file listed twice in one addition must not be registered twice either;
    // empty slots carry nothing to register.
    std::erase_if(files, [&registered](const FileRef& file) {
        return file.IsEmpty() || !registered.insert(file.Path()).second;
    });
    if (files.empty()) {
        files.emplace_back();
        return 0;
    }
    return static_cast<int>(files.size());
}

void ProjectDocument::ClearCutMarks() {
    for (ItemRecord& item : items_)
        item.Cut.Clear();
}

bool ProjectDocument::HasCutMarks() const {
    return std::any_of(items_.begin(), items_.end(),
                       [](const ItemRecord& item) { return !item.Cut.IsEmpty(); });
}

bool ProjectDocument::HasResults() const {
    return std::any_of(items_.begin(), items_.end(),
                       [](const ItemRecord& item) { return item.Medium > 0; });
}

void ProjectDocument::ClearResults() {
    for (ItemRecord& item : items_)
        item.Medium = 0;
}

int32_t ProjectDocument::HighestMedium() const {
    int32_t highest = 0;
    for (const ItemRecord& item : items_)
        highest = std::max(highest, item.Medium);
    return highest;
}

std::vector<ItemRecord> ProjectDocument::ItemsOfMedium(int32_t medium, bool& found) const {
    std::vector<ItemRecord> result;
    // The placeholder of an empty project is no item of any medium.
    for (const ItemRecord& item : items_) {
        if (item.HasFiles() && item.Medium == medium)
            result.push_back(item);
    }
    found = !result.empty();
    if (!found)
        result.emplace_back();
    return result;
}

std::vector<ProjectItem> ProjectDocument::ToProjectItems() const {
    std::vector<ProjectItem> items;
    // The placeholder of an empty project writes no row. Every other item
    // keeps at least one member, so the item numbers run without a gap.
    if (IsEmpty())
        return items;
    for (const ItemRecord& record : items_) {
        ProjectItem& item = items.emplace_back(ProjectItem{record.Name, record.Medium, {}});
        for (const FileRef& file : record.Files) {
            if (file.IsEmpty())
                continue;
            double size = 0;
            // A file that has gone keeps the size last seen, so that the
            // project can still be saved.
            try {
                size = file.Size();
            } catch (const PlatformError&) {
                size = file.LastKnownSize();
            }
            item.members.push_back({file.Path(), size});
        }
    }
    return items;
}

}  // namespace zv
