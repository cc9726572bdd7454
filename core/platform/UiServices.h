#pragma once

#include <optional>
#include <string>

namespace zv {

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgResult { OK, Cancel, Yes, No, Retry };

// One message box as the program asks for it. An empty title stands for the
// program's title; the services resolve it before showing or recording.
struct MessageBoxRequest {
    std::string text;
    std::string title;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    // Index of the default button among `buttons` (0 = the first).
    int defaultButton = 0;
};

// An open or save file dialog as the program asks for it.
struct FileDialogRequest {
    // Pairs of description and pattern, each part ended by "|":
    // "Zarvoﾃﾞｰﾀﾌｧｲﾙ(*.mtb)|*.mtb|全てのﾌｧｲﾙ(*.*)|*.*"
    std::string filter;
    std::string title;
    // The full path the dialog proposes (folder and file name).
    std::string proposedName;
};

// The services the program takes from the desktop it runs on: every message
// box, question, file dialog and event-loop yield goes through here, so the
// desktop program, the command-line tool and the tests each supply their own.
class UiServices {
  public:
    virtual ~UiServices() = default;

    virtual MsgResult MessageBox(const MessageBoxRequest& request) = 0;
    // The text typed, or nothing when the user cancelled.
    virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                                const std::string& proposed) = 0;
    // The chosen full path, or nothing when the user cancelled.
    virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) = 0;
    // A folder chosen in a folder dialog that starts in `startFolder`, or
    // nothing when the user cancelled.
    virtual std::optional<std::string> FolderDialog(const std::string& title,
                                                    const std::string& startFolder) = 0;
    // Opens a file or a web address with the program the desktop associates
    // with it; false when that failed.
    virtual bool OpenWithAssociatedProgram(const std::string& pathOrAddress) = 0;
    // Lets pending user-interface events run. Cheap to call often: it only does
    // real work when enough time has passed since it last did.
    virtual void Yield() = 0;
    // Lets pending user-interface events run now, however recently it last did.
    virtual void YieldNow() = 0;
};

// The answer a box gives when nobody is there to choose: its default button.
MsgResult DefaultAnswer(MsgButtons buttons, int defaultButton);

// The program's title, shown on message boxes that name no other caption.
const std::string& AppTitle();

// The services of this process. The program installs its own at start; until
// then a headless default answers every box with its default button.
UiServices& Ui();
void SetUi(UiServices* services);

// Shorthand for the common case: an OK box, no icon.
MsgResult ShowMessage(const std::string& text, const std::string& title = {},
                      MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None,
                      int defaultButton = 0);

}  // namespace zv
