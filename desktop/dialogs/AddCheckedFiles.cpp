#include "desktop/dialogs/AddCheckedFiles.h"

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/project/Grouping.h"
#include "core/project/ProjectDocument.h"
#include "core/settings/TextNumber.h"
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

// The files the project holds, in single items and groups alike.
std::size_t FileCount(const ProjectDocument& project) {
    std::size_t count = 0;
    for (const ItemRecord& item : project.Items()) {
        for (const FileRef& file : item.Files)
            count += file.IsEmpty() ? 0 : 1;
    }
    return count;
}

// Says how many files went in and that the others were in the list already,
// which the project passes over without a word.
void TellPassedOver(std::size_t added, std::size_t passedOver) {
    std::string text = ResString(text_id::FilesAddedPassedOver);
    text.replace(text.find("%1"), 2, FormatGrouped(static_cast<double>(added)));
    text.replace(text.find("%2"), 2, FormatGrouped(static_cast<double>(passedOver)));
    ShowMessage(text, ResString(text_id::AddFilesCaption), MsgButtons::OK, MsgIcon::Information);
}

// Hands the files to the project as the user wants them: into the opened
// group, as one group, or as single items.
AddOutcome AddFiles(std::vector<FileRef> files, ProjectDocument& target,
                    const GroupNameAsker& askGroupName) {
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

}  // namespace

AddOutcome AddCheckedFiles(const std::vector<std::string>& checkedPaths, ProjectDocument& target,
                           const GroupNameAsker& askGroupName) {
    if (checkedPaths.empty()) {
        ShowMessage(ResString(text_id::ChooseFiles));
        return {};
    }
    std::vector<FileRef> files = OpenFiles(checkedPaths);
    std::vector<FileRef> fresh = files;
    const std::size_t passedOver =
        files.size() - static_cast<std::size_t>(target.DropRegistered(fresh));
    if (!files.empty() && passedOver == files.size()) {
        ShowMessage(ResString(text_id::AllFilesInList), ResString(text_id::AddFilesCaption),
                    MsgButtons::OK, MsgIcon::Information);
        return {};
    }
    const std::size_t before = FileCount(target);
    AddOutcome outcome = AddFiles(std::move(files), target, askGroupName);
    const std::size_t added = FileCount(target) - before;
    if (passedOver > 0 && added > 0)
        TellPassedOver(added, passedOver);
    return outcome;
}

}  // namespace zv
