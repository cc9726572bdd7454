#pragma once

#include <QElapsedTimer>

#include "core/platform/UiServices.h"

namespace zv {

// The services of the desktop program, shown with Qt's widgets. It installs
// itself as the process's services for as long as it lives.
class QtUi : public UiServices {
  public:
    QtUi();
    ~QtUi() override;

    QtUi(const QtUi&) = delete;
    QtUi& operator=(const QtUi&) = delete;

    // Modal to the active window; Escape and the close box choose Cancel, or
    // No where there is no Cancel. Long lines wrap at path separators, and the
    // box is wide enough for its whole title.
    MsgResult MessageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& proposed) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    // Never asks about overwriting: the program asks its own question.
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> FolderDialog(const std::string& title,
                                            const std::string& startFolder) override;
    // A local path is opened as a file; an address with a scheme
    // ("https://...") as it stands.
    bool OpenWithAssociatedProgram(const std::string& pathOrAddress) override;
    // Runs pending events only when a time slice has passed since they last
    // ran, so long work can call it after every step.
    void Yield() override;
    void YieldNow() override;

  private:
    QElapsedTimer sinceEvents_;
};

}  // namespace zv
