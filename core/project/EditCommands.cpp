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
#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr int kQuote = 40000;           // "'"
constexpr int kQuoteThen = 40001;       // "'を"
constexpr int kDeleteQuestion = 40002;  // "をﾘｽﾄから消去してよろしいですか？"
constexpr int kThese = 40003;           // "これらの"
constexpr int kItemsThen = 40004;       // "個の項目を"
constexpr int kDeleteTitle = 40005;     // "ﾘｽﾄの消去"
constexpr int kDeleteFailed = 40006;    // "削除に失敗しました"
constexpr int kPasteFailed = 40007;     // "貼り付けに失敗しました"
constexpr int kTwoOrMore = 40008;       // "ｸﾞﾙｰﾌﾟを生成するには2つ以上の..."
constexpr int kNamePrompt = 40009;      // "ｸﾞﾙｰﾌﾟ名を決定してください"
constexpr int kNameTitle = 40010;       // "ｸﾞﾙｰﾌﾟ名"
constexpr int kProposedName = 40011;    // "名称未設定"
constexpr int kExistingPath = 40012;  // "存在するファイル・フォルダの名前(パス)を..."
constexpr int kForbiddenCharacters = 40013;  // "「’」、「”」、「..」は名前に使用できません"
constexpr int kTooLong = 40014;      // "指定された文字は長すぎます"
constexpr int kGroupExists = 40015;  // "既に、同名のｸﾞﾙｰﾌﾟが存在します..."
constexpr int kMakeGroupTitle = 40016;    // "ｸﾞﾙｰﾌﾟの作成"
constexpr int kAddToGroupFailed = 40017;  // "ｸﾞﾙｰﾌﾟの追加に失敗しました"
constexpr int kReleaseFailed = 40019;     // "ｸﾞﾙｰﾌﾟの解除に失敗しました"
constexpr int kInvalidNewName = 40085;    // "無効なｸﾞﾙｰﾌﾟ名です..."
constexpr int kNameTaken = 40086;  // "同名のﾌｧｲﾙもしくはｸﾞﾙｰﾌﾟが存在します"
constexpr int kNoGroupSelected = 41008;  // "ｸﾞﾙｰﾌﾟが選択されていません"

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
        return ResString(kQuote) + tags.front() + ResString(kQuoteThen) +
               ResString(kDeleteQuestion);
    return ResString(kThese) + std::to_string(tags.size()) + ResString(kItemsThen) +
           ResString(kDeleteQuestion);
}

// The name asked for a new group, or nothing when it is refused (each refusal
// says why) or left empty.
std::optional<std::string> AskGroupName() {
    const std::string name =
        Ui().InputBox(ResString(kNamePrompt), ResString(kNameTitle), ResString(kProposedName))
            .value_or("");
    int refusal = 0;
    if (name.find_first_of("'\"") != std::string::npos || name.find("..") != std::string::npos)
        refusal = kForbiddenCharacters;
    else if (NamesAPath(name))
        refusal = kExistingPath;
    else if (CharacterCount(name) >= kNameLimit)
        refusal = kTooLong;
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
    if (!ResultsCleared(document))
        return ListRedraw::None;
    if (ShowMessage(DeleteQuestion(tags), ResString(kDeleteTitle), MsgButtons::OKCancel) !=
        MsgResult::OK)
        return ListRedraw::None;
    if (!TakeOutItems(document, tags))
        ShowMessage(ResString(kDeleteFailed));
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
        ShowMessage(ResString(kPasteFailed));
    return ListRedraw::OpenedGroup;
}

ListRedraw MakeGroupCommand(ProjectDocument& document, const std::vector<std::string>& tags) {
    if (tags.size() < 2) {
        ShowMessage(ResString(kTwoOrMore));
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
        ShowMessage(ResString(kGroupExists), ResString(kMakeGroupTitle), MsgButtons::OKCancel) !=
            MsgResult::OK)
        return ListRedraw::None;

    // The files leave their places before they join the group; should the
    // group refuse them, they go back where they were.
    const ListSnapshot before(document);
    TakeOutItems(document, tags);
    if (!AddToGroup(document, *name, files)) {
        before.Restore(document);
        ShowMessage(ResString(kAddToGroupFailed));
    }
    return ListRedraw::OpenedGroup;
}

ListRedraw ReleaseGroupCommand(ProjectDocument& document, const std::vector<std::string>& tags) {
    if (tags.empty()) {
        ShowMessage(ResString(kNoGroupSelected));
        return ListRedraw::None;
    }
    if (!ResultsCleared(document))
        return ListRedraw::None;
    for (const std::string& tag : tags) {
        if (!ReleaseGroup(document, tag))
            ShowMessage(ResString(kReleaseFailed));
    }
    return ListRedraw::TopLevel;
}

bool RenameCommand(ProjectDocument& document) {
    return ResultsCleared(document);
}

ListRedraw EndRename(ProjectDocument& document, const std::string& rowTag, const std::string& text,
                     int selectedRows) {
    if (text.empty() || CharacterCount(text) >= kNameLimit || NamesAPath(text)) {
        ShowMessage(ResString(kInvalidNewName));
        return ListRedraw::None;
    }
    if (selectedRows >= 2)
        return ListRedraw::None;
    if (FindItem(document, text)) {
        ShowMessage(ResString(kNameTaken));
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
