#pragma once

#include "core/platform/UiServices.h"

namespace zv {

// The services where nobody can answer: every box takes its default button,
// every dialog is cancelled, nothing opens and nothing waits.
class HeadlessUi : public UiServices {
  public:
    MsgResult MessageBox(const MessageBoxRequest& request) override {
        return DefaultAnswer(request.buttons, request.defaultButton);
    }
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
    std::optional<std::string> FolderDialog(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    bool OpenWithAssociatedProgram(const std::string&) override { return false; }
    void Yield() override {}
    void YieldNow() override {}
};

}  // namespace zv
