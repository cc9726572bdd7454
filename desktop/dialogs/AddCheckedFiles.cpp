#include "desktop/dialogs/AddCheckedFiles.h"

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/project/Grouping.h"
#include "core/project/ProjectDocument.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

std::vector<FileRef> OpenFiles(const std::vector<std::string>& paths) {
    std::vector<FileRef> files;
    files.reserve(paths.size());
    for (const std::string& path : paths) {
        try {
            files.push_back(FileRef::Get(path));
        } catch (const PlatformError&) {
            // Gone since the scan: there is nothing to add for it.
        }
    }
    return files;
}

// Adds into the group `name`; a refusal is told and the list is drawn at the
// top level.
AddOutcome IntoGroup(ProjectDocument& target, const std::string& name, std::vector<FileRef> files,
                     const std::string& groupShown) {
    if (AddToGroup(target, name, std::move(files)))
        return {true, groupShown, true};
    ShowMessage(ResString(text_id::AddGroupItemsFailed));
    return {true, "", false};
}

AddOutcome AsItems(ProjectDocument& target, std::vector<FileRef> files, const std::string& group) {
    if (target.AddFiles(std::move(files), group))
        return {true, "", true};
    ShowMessage(ResString(text_id::AddToListFailed));
    return {true, "", false};
}

}  // namespace

AddOutcome AddCheckedFiles(const std::vector<std::string>& checkedPaths, ProjectDocument& target,
                           const GroupNameAsker& askGroupName) {
    if (checkedPaths.empty()) {
        ShowMessage(ResString(text_id::ChooseFiles));
        return {};
    }
    std::vector<FileRef> files = OpenFiles(checkedPaths);

    const std::string openGroup = target.GetOpenGroup();
    if (!openGroup.empty()) {
        switch (ShowMessage(ResString(text_id::AskAddToOpenGroup),
                            ResString(text_id::AddGroupItemsTitle), MsgButtons::YesNoCancel)) {
            case MsgResult::Yes: {
                // The list goes on showing the group the files went into, and
                // the focus stays where the user left it.
                AddOutcome outcome = IntoGroup(target, openGroup, std::move(files), openGroup);
                outcome.added = false;
                return outcome;
            }
            case MsgResult::No:
                break;
            default:
                return {};
        }
    }

    if (files.size() < 2)
        return AsItems(target, std::move(files), "");

    const std::string chosen = askGroupName(target.GetItems());
    if (FindGroup(chosen, target.GetItems()) >= 0)
        return IntoGroup(target, chosen, std::move(files), "");
    // No group of that name (or none wanted): the files go into the opened
    // group, if there is one, or become the new group or single items.
    const std::string stillOpen = target.GetOpenGroup();
    if (!stillOpen.empty())
        return IntoGroup(target, stillOpen, std::move(files), "");
    return AsItems(target, std::move(files), chosen);
}

}  // namespace zv
