#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/UiServices.h"

namespace zv {

// The services as the tests see them: every box and dialog is recorded and
// answered at once from a queue of its kind that the test filled beforehand; one
// nobody expected, or an answer left unused, fails the running test.
class ScriptedUi : public UiServices {
  public:
    enum class DialogKind { Open, Save, Folder };
    struct FileDialog {
        DialogKind kind;
        FileDialogRequest request;
    };

    ScriptedUi() { SetUi(this); }
    ~ScriptedUi() override {
        SetUi(nullptr);
        ExpectUsed(answers_, "message box");
        ExpectUsed(inputAnswers_, "input box");
        ExpectUsed(fileAnswers_, "file dialog");
    }
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;
    // Queue the answer to the next box or dialog of the kind; nothing is cancel.
    void Answer(MsgResult answer) { answers_.push_back(answer); }
    void AnswerInput(std::optional<std::string> answer) { inputAnswers_.push_back(answer); }
    void AnswerFile(std::optional<std::string> answer) { fileAnswers_.push_back(answer); }
    // Whether opening with the associated program succeeds (it does until told otherwise).
    void SetOpenSucceeds(bool succeeds) { openSucceeds_ = succeeds; }
    const std::vector<MessageBoxRequest>& Boxes() const { return boxes_; }
    // The text of the only box shown so far; fails the test on none or several.
    std::string OnlyBoxText() const {
        EXPECT_EQ(boxes_.size(), 1u) << "expected exactly one message box";
        return boxes_.empty() ? std::string() : boxes_.front().text;
    }
    // Folder dialogs as kind Folder: the title, and the start folder as proposed name.
    const std::vector<FileDialog>& FileDialogs() const { return fileDialogs_; }
    // Every path or address handed to the associated program, in order.
    const std::vector<std::string>& Opened() const { return opened_; }
    // Calls of Yield and YieldNow together.
    int YieldCount() const { return yields_; }
    MsgResult MessageBox(const MessageBoxRequest& request) override {
        boxes_.push_back(request);
        if (request.title.empty())
            boxes_.back().title = AppTitle();
        return Next(answers_, "message box: " + request.text,
                    DefaultAnswer(request.buttons, request.defaultButton));
    }
    std::optional<std::string> InputBox(const std::string& prompt, const std::string&,
                                        const std::string&) override {
        return Next(inputAnswers_, "input box: " + prompt, {});
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override {
        return FileAnswer(DialogKind::Open, request);
    }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override {
        return FileAnswer(DialogKind::Save, request);
    }
    std::optional<std::string> FolderDialog(const std::string& title,
                                            const std::string& startFolder) override {
        return FileAnswer(DialogKind::Folder, {"", title, startFolder});
    }
    bool OpenWithAssociatedProgram(const std::string& pathOrAddress) override {
        opened_.push_back(pathOrAddress);
        return openSucceeds_;
    }
    void Yield() override { ++yields_; }
    void YieldNow() override { ++yields_; }

  private:
    std::optional<std::string> FileAnswer(DialogKind kind, const FileDialogRequest& request) {
        fileDialogs_.push_back({kind, request});
        const std::string kinds[] = {"open", "save", "folder"};
        return Next(fileAnswers_, kinds[static_cast<int>(kind)] + " dialog: " + request.title, {});
    }
    // The next answer queued; without one the test fails and gets `none`.
    template <class T>
    static T Next(std::deque<T>& answers, const std::string& unexpected, T none) {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected " << unexpected;
            return none;
        }
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
    template <class T>
    static void ExpectUsed(const std::deque<T>& answers, const char* kind) {
        EXPECT_TRUE(answers.empty()) << answers.size() << " " << kind << " answer(s) left unused";
    }

    std::deque<MsgResult> answers_;
    std::deque<std::optional<std::string>> inputAnswers_, fileAnswers_;
    bool openSucceeds_ = true;
    std::vector<MessageBoxRequest> boxes_;
    std::vector<FileDialog> fileDialogs_;
    std::vector<std::string> opened_;
    int yields_ = 0;
};

}  // namespace zv
