#include "core/project/EditCommands.h"

#include <algorithm>
#include <optional>

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/project/Grouping.h"
#include "core/project/ItemEditing.h"
#include "core/project/ListSnapshot.h"
#include "core/settings/ConfirmClearResults.h"
#include "core/settings/FileSystem.h"
#include "core/settings/ShowError.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// A group name has fewer characters than this.
constexpr std::size_t kNameLimit = 255;

// Commands that change the list of a project holding results clear the results
// first, when the user agrees.
bool ResultsCleared(ProjectDocument& document) {
    if (!document.HasResults())
        return true;
    if (!ConfirmClearResults())
        return false;
    document.ClearResults();
    return true;
}

// Characters, not bytes: a name in Japanese takes up to three bytes for each.
std::size_t CharacterCount(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool NamesAPath(const std::string& name) {
    return FileExists(name) || FolderExists(name);
}

std::string DeleteQuestion(const std::vector<std::string>& tags) {
    if (tags.size() == 1)
        return ResString(text_id::Quote) + tags.front() + ResString(text_id::QuoteThen) +
               ResString(text_id::AskDeleteTail);
    return ResString(text_id::TheseLead) + std::to_string(tags.size()) +
           ResString(text_id::ItemsThen) + ResString(text_id::AskDeleteTail);
}

// The name asked for a new group, or nothing when it is refused (each refusal
// says why) or left empty.
std::optional<std::string> AskGroupName() {
    const std::string name =
        Ui().InputBox(ResString(text_id::GroupNamePrompt), ResString(text_id::GroupNameTitle),
                      ResString(text_id::ProposedGroupName))
            .value_or("");
    int refusal = 0;
    if (name.find_first_of("'\"") != std::string::npos || name.find("..") != std::string::npos)
        refusal = text_id::ForbiddenNameCharacters;
    else if (NamesAPath(name))
        refusal = text_id::NameIsExistingPath;
    else if (CharacterCount(name) >= kNameLimit)
        refusal = text_id::NameTooLong;
    if (refusal != 0)
        ShowMessage(ResString(refusal));
    if (refusal != 0 || name.empty())
        return std::nullopt;
    return name;
}

}  // namespace

ListRedraw DeleteCommand(ProjectDocument& document, const std::vector<std::string>& tags) {
    if (tags.empty())
        return ListRedraw::OpenedGroup;
    // The delete is asked first: results stay when the user keeps the rows.
    if (ShowMessage(DeleteQuestion(tags), ResString(text_id::DeleteTitle), MsgButtons::OKCancel) !=
            MsgResult::OK ||
        !ResultsCleared(document))
        return ListRedraw::None;
    if (!TakeOutItems(document, tags))
        ShowMessage(ResString(text_id::DeleteFailed));
    return ListRedraw::OpenedGroup;
}

ListRedraw CutCommand(ProjectDocument& document, const std::vector<std::string>& tags) {
    document.ClearCutMarks();
    MarkCut(document, tags);
    return ListRedraw::OpenedGroup;
}

ListRedraw PasteCommand(ProjectDocument& document) {
    if (!ResultsCleared(document))
        return ListRedraw::None;
    if (!PasteCut(document))
        ShowMessage(ResString(text_id::PasteFailed));
    return ListRedraw::OpenedGroup;
}

ListRedraw MakeGroupCommand(ProjectDocument& document, const std::vector<std::string>& tags) {
    if (tags.size() < 2) {
        ShowMessage(ResString(text_id::GroupNeedsTwoItems));
        return ListRedraw::None;
    }
    if (!ResultsCleared(document))
        return ListRedraw::None;

    std::vector<FileRef> files;
    try {
        for (const std::string& tag : tags)
            files.push_back(FileRef::Get(tag));
    } catch (const PlatformError& error) {
        ShowError(error);
        return ListRedraw::None;
    }

    const std::optional<std::string> name = AskGroupName();
    if (!name)
        return ListRedraw::None;
    if (FindGroup(*name, document.Items()) >= 0 &&
        ShowMessage(ResString(text_id::AskAddToExistingGroup), ResString(text_id::MakeGroupTitle),
                    MsgButtons::OKCancel) != MsgResult::OK)
        return ListRedraw::None;

    // The files leave their places before they join the group; should the
    // group refuse them, they go back where they were.
    const ListSnapshot before(document);
    TakeOutItems(document, tags);
    if (!AddToGroup(document, *name, files)) {
        before.Restore(document);
        ShowMessage(ResString(text_id::AddToGroupFailed));
    }
    return ListRedraw::OpenedGroup;
}

ListRedraw ReleaseGroupCommand(ProjectDocument& document, const std::vector<std::string>& tags) {
    if (tags.empty()) {
        ShowMessage(ResString(text_id::NoGroupSelected));
        return ListRedraw::None;
    }
    if (!ResultsCleared(document))
        return ListRedraw::None;
    for (const std::string& tag : tags) {
        if (!ReleaseGroup(document, tag))
            ShowMessage(ResString(text_id::ReleaseGroupFailed));
    }
    return ListRedraw::TopLevel;
}

ListRedraw EndRename(ProjectDocument& document, const std::string& rowTag, const std::string& text,
                     int selectedRows) {
    if (text.empty() || CharacterCount(text) >= kNameLimit || NamesAPath(text)) {
        ShowMessage(ResString(text_id::InvalidGroupName));
        return ListRedraw::None;
    }
    if (selectedRows >= 2)
        return ListRedraw::None;
    if (FindItem(document, text)) {
        ShowMessage(ResString(text_id::NameTaken));
        return ListRedraw::None;
    }
    const int group = FindGroup(rowTag, document.Items());
    if (group < 0)
        return ListRedraw::None;
    document.Items()[group].Name = text;
    document.SetModified(true);
    return ListRedraw::TopLevel;
}

}  // namespace zv
