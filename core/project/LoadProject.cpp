#include "core/project/LoadProject.h"

#include <optional>
#include <vector>

#include "core/db/ProjectSideFiles.h"
#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/project/ProjectFile.h"
#include "core/project/SaveProject.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// Builds the items from the rows of the file, each member with the size it
// has now. The first file that has gone asks whether to go on at all; after
// a yes the files that have gone are left out without asking again.
LoadOutcome TakeItems(ProjectDocument& document, const std::vector<ProjectItem>& rows) {
    std::vector<ItemRecord> items;
    bool skipMissing = false;
    for (const ProjectItem& row : rows) {
        ItemRecord& item = items.emplace_back();
        for (const ProjectMember& member : row.members) {
            FileRef file;
            try {
                file = FileRef::Get(member.path);
            } catch (const PlatformError&) {
                if (!skipMissing) {
                    if (ShowMessage(ResString(text_id::AskLoadWithoutFile) + "\r\n" + member.path +
                                        "\r\n" + ResString(text_id::MissingFileCause),
                                    ResString(text_id::ErrorTitle), MsgButtons::YesNo,
                                    MsgIcon::Critical) == MsgResult::No)
                        return LoadOutcome::Cancelled;
                    ShowMessage(ResString(text_id::MissingFilesIgnored));
                    skipMissing = true;
                }
                continue;
            }
            if (item.HasFiles()) {
                item.Files.push_back(file);
                item.PathList += '\t';
            } else {
                item.Files.front() = file;
            }
            item.PathList += file.Path();
            item.Size += file.LastKnownSize();
            item.Name = row.name;
            item.Medium = row.medium;
        }
    }
    // Items whose files have all gone leave the list; the others move up.
    std::erase_if(items, [](const ItemRecord& item) { return !item.HasFiles(); });
    if (items.empty())
        items.emplace_back();
    document.Items() = std::move(items);
    return LoadOutcome::Loaded;
}

// Puts the project file's items and run settings into the document.
LoadOutcome ReadInto(ProjectDocument& document, const std::string& path) {
    // The project is opened to be worked on: what a save or run that was cut
    // short left beside it goes first; one going on in another process keeps
    // its files.
    static_cast<void>(RecoverProjectFile(path));
    std::optional<ProjectData> data;
    try {
        data = ProjectFile::Read(path, document.GetRunSettings());
    } catch (const ChecksumMismatchError&) {
        if (ShowMessage(ResString(text_id::AskOpenMismatchedReadOnly),
                        ResString(text_id::ErrorTitle), MsgButtons::YesNo, MsgIcon::Exclamation,
                        1) != MsgResult::Yes)
            return LoadOutcome::ChecksumMismatch;
        data = ProjectFile::Read(path, document.GetRunSettings(), true);
    }
    if (!data)
        return LoadOutcome::NotAProject;
    const LoadOutcome outcome = TakeItems(document, data->items);
    if (outcome != LoadOutcome::Loaded)
        return outcome;
    document.LoadRunSettings(data->settings);
    document.SetFilePath(path);
    document.SetReadOnly(data->checksumMismatch);
    document.SetCaption(CaptionOfProjectPath(path));
    return LoadOutcome::Loaded;
}

}  // namespace

LoadOutcome LoadProject(ProjectDocument& document, const std::string& path) {
    if (!document.IsEmpty() && document.Modified()) {
        const std::string& caption = document.Caption();
        const MsgResult answer = ShowMessage(
            ResString(text_id::AskSaveLead) + caption + ResString(text_id::AskSaveTail),
            caption + ResString(text_id::AskSaveTitleTail), MsgButtons::YesNoCancel, MsgIcon::None);
        // Cancel keeps the unsaved project as it is.
        if (answer == MsgResult::Cancel)
            return LoadOutcome::Cancelled;
        if (answer == MsgResult::Yes)
            SaveProject(document, kSaveToPath, false);
    }

    LoadOutcome outcome = LoadOutcome::Failed;
    try {
        outcome = ReadInto(document, path);
    } catch (const ProjectFileError& error) {
        // The error's own text does not say which row or field is at fault.
        ShowMessage(error.Description() + "\r\n" + error.Detail(),
                    ResString(text_id::ErrorTitle) + std::to_string(error.Number()));
    } catch (const PlatformError& error) {
        ShowMessage(error.Description(),
                    ResString(text_id::ErrorTitle) + std::to_string(error.Number()));
    }
    if (outcome != LoadOutcome::Loaded)
        document.ResetItems();
    return outcome;
}

}  // namespace zv
