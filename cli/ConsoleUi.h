#pragma once

#include "platform/UiServices.h"

namespace zv {

// The desktop services for a program without a screen: a message box becomes
// one line on standard error and takes its default answer.
class ConsoleUi : public UiServices {
  public:
    ConsoleUi() { SetUi(this); }
    ~ConsoleUi() override { SetUi(nullptr); }
    ConsoleUi(const ConsoleUi&) = delete;
    ConsoleUi& operator=(const ConsoleUi&) = delete;

    MsgResult MessageBox(const MessageBoxRequest& request) override;
    // Nobody is there to type or choose: questions and file dialogs count as
    // cancelled, and nothing is opened.
    std::optional<std::string> InputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    bool OpenWithAssociatedProgram(const std::string&) override { return false; }
    void Yield() override {}
    void YieldNow() override {}
};

// A text of the program's as one line: its line breaks become blanks.
std::string OneLine(const std::string& text);

}  // namespace zv
