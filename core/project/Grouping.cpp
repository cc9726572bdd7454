#include "core/project/Grouping.h"

#include "core/platform/PlatformError.h"
#include "core/project/ItemEditing.h"
#include "core/project/ListSnapshot.h"
#include "core/project/TextCompare.h"
#include "core/settings/ShowError.h"

namespace zv {

int FindGroup(const std::string& name, const std::vector<ItemRecord>& items) {
    int found = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ItemRecord& item = items[i];
        if (!item.HasFiles())
            break;
        if (item.IsGroup() && SameTextIgnoringCase(item.Name, name))
            found = static_cast<int>(i);
    }
    return found;
}

bool AddToGroup(ProjectDocument& document, const std::string& name, std::vector<FileRef> files) {
    const bool added = [&] {
        if (name.empty() || files.empty() || files.front().IsEmpty())
            return false;
        const ListSnapshot before(document);
        try {
            const int group = FindGroup(name, document.Items());
            if (group >= 0) {
                if (document.DropRegistered(files) == 0)
                    return false;
                ItemRecord& item = document.Items()[group];
                for (const FileRef& file : files) {
                    const double size = file.Size();
                    item.Files.push_back(file);
                    item.Size += size;
                    item.PathList += '\t' + file.Path();
                }
            } else if (!document.AddFiles(std::move(files), name)) {
                return false;
            }
        } catch (const PlatformError& error) {
            ShowError(error);
            before.Restore(document);
            return false;
        }
        document.SetOpenGroup(name);
        document.SetModified(true);
        return true;
    }();
    document.ClearCutMarks();
    return added;
}

bool ReleaseGroup(ProjectDocument& document, const std::string& name) {
    int group = FindGroup(name, document.Items());
    if (group < 0)
        group = FindGroup(document.GetOpenGroup(), document.Items());
    if (group < 0)
        return false;

    std::vector<FileRef> members;
    std::vector<std::string> paths;
    for (const FileRef& file : document.Items()[group].Files) {
        if (!file.IsEmpty()) {
            members.push_back(file);
            paths.push_back(file.Path());
        }
    }
    const ListSnapshot before(document);
    TakeOutItems(document, paths);
    document.ClearCutMarks();
    if (!document.AddFiles(members, "")) {
        before.Restore(document);
        return false;
    }
    return true;
}

}  // namespace zv
