#include "tests/support/ScriptedUi.h"

#include <gtest/gtest.h>

namespace zv {

ScriptedUi::ScriptedUi() {
    SetUi(this);
}

ScriptedUi::~ScriptedUi() {
    SetUi(nullptr);
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " message box answer(s) left unused";
    EXPECT_TRUE(inputAnswers_.empty())
        << inputAnswers_.size() << " input box answer(s) left unused";
    EXPECT_TRUE(fileAnswers_.empty())
        << fileAnswers_.size() << " file dialog answer(s) left unused";
}

void ScriptedUi::Answer(MsgResult answer) {
    answers_.push_back(answer);
}

void ScriptedUi::AnswerInput(std::optional<std::string> answer) {
    inputAnswers_.push_back(std::move(answer));
}

void ScriptedUi::AnswerFile(std::optional<std::string> answer) {
    fileAnswers_.push_back(std::move(answer));
}

std::string ScriptedUi::OnlyBoxText() const {
    EXPECT_EQ(boxes_.size(), 1u) << "expected exactly one message box";
    return boxes_.empty() ? std::string() : boxes_.front().text;
}

MsgResult ScriptedUi::MessageBox(const MessageBoxRequest& request) {
    MessageBoxRequest shown = request;
    if (shown.title.empty())
        shown.title = AppTitle();
    boxes_.push_back(shown);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box: " << shown.text;
        return DefaultAnswer(request.buttons, request.defaultButton);
    }
    MsgResult answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedUi::InputBox(const std::string& prompt, const std::string& title,
                                                const std::string& proposed) {
    inputs_.push_back({prompt, title.empty() ? AppTitle() : title, proposed});
    if (inputAnswers_.empty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt;
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(inputAnswers_.front());
    inputAnswers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedUi::OpenFileDialog(const FileDialogRequest& request) {
    return FileAnswer(DialogKind::Open, request);
}

std::optional<std::string> ScriptedUi::SaveFileDialog(const FileDialogRequest& request) {
    return FileAnswer(DialogKind::Save, request);
}

std::optional<std::string> ScriptedUi::FolderDialog(const std::string& title,
                                                    const std::string& startFolder) {
    return FileAnswer(DialogKind::Folder, {"", title, startFolder});
}

std::optional<std::string> ScriptedUi::FileAnswer(DialogKind kind,
                                                  const FileDialogRequest& request) {
    fileDialogs_.push_back({kind, request});
    if (fileAnswers_.empty()) {
        const char* kinds[] = {"open", "save", "folder"};
        ADD_FAILURE() << "unexpected " << kinds[static_cast<int>(kind)]
                      << " dialog: " << request.title;
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
    return answer;
}

bool ScriptedUi::OpenWithAssociatedProgram(const std::string& pathOrAddress) {
    opened_.push_back(pathOrAddress);
    return openSucceeds_;
}

}  // namespace zv
