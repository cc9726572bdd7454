#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/UiServices.h"

namespace zv {

// The services as the tests see them: every box and dialog is recorded, and
// answered from a queue of its kind that the test filled beforehand. A box or
// dialog that nobody expected, or an answer left unused, fails the running
// test. Nothing ever waits, so a box asked for in the middle of a widget's
// event handling is answered at once.
class ScriptedUi : public UiServices {
  public:
    // An input box as it was shown, its empty title resolved.
    struct Input {
        std::string prompt;
        std::string title;
        std::string proposed;
    };
    enum class DialogKind { Open, Save, Folder };
    struct FileDialog {
        DialogKind kind;
        FileDialogRequest request;
    };

    ScriptedUi();
    ~ScriptedUi() override;

    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    // Queues the answer to the next message box.
    void Answer(MsgResult answer);
    // Queues the answer to the next input box; nothing stands for cancel.
    void AnswerInput(std::optional<std::string> answer);
    // Queues the answer to the next open, save or folder dialog; nothing
    // stands for cancel.
    void AnswerFile(std::optional<std::string> answer);
    // Whether opening with the associated program succeeds from now on (it
    // does until told otherwise).
    void SetOpenSucceeds(bool succeeds) { openSucceeds_ = succeeds; }

    const std::vector<MessageBoxRequest>& Boxes() const { return boxes_; }
    // The text of the only box shown so far; fails the test when there are
    // none or several.
    std::string OnlyBoxText() const;
    const std::vector<Input>& Inputs() const { return inputs_; }
    const std::vector<FileDialog>& FileDialogs() const { return fileDialogs_; }
    // Every path or address handed to the associated program, in order.
    const std::vector<std::string>& Opened() const { return opened_; }
    // Calls of Yield and YieldNow together.
    int YieldCount() const { return yields_; }

    MsgResult MessageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& proposed) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    // Recorded as a file dialog of kind Folder: the title and the start folder
    // as its proposed name.
    std::optional<std::string> FolderDialog(const std::string& title,
                                            const std::string& startFolder) override;
    bool OpenWithAssociatedProgram(const std::string& pathOrAddress) override;
    void Yield() override { ++yields_; }
    void YieldNow() override { ++yields_; }

  private:
    std::optional<std::string> FileAnswer(DialogKind kind, const FileDialogRequest& request);

    std::deque<MsgResult> answers_;
    std::deque<std::optional<std::string>> inputAnswers_;
    std::deque<std::optional<std::string>> fileAnswers_;
    bool openSucceeds_ = true;
    std::vector<MessageBoxRequest> boxes_;
    std::vector<Input> inputs_;
    std::vector<FileDialog> fileDialogs_;
    std::vector<std::string> opened_;
    int yields_ = 0;
};

}  // namespace zv
