#pragma once

#include "core/platform/HeadlessUi.h"

namespace zv {

// The desktop services for a program without a screen: a message box becomes
// one line on standard error and takes its default answer; questions and file
// dialogs count as cancelled, and nothing is opened.
class ConsoleUi : public HeadlessUi {
  public:
    ConsoleUi() { SetUi(this); }
    ~ConsoleUi() override { SetUi(nullptr); }
    ConsoleUi(const ConsoleUi&) = delete;
    ConsoleUi& operator=(const ConsoleUi&) = delete;

    MsgResult MessageBox(const MessageBoxRequest& request) override;
};

// A text of the program's as one line: its line breaks become blanks.
std::string OneLine(const std::string& text);

// A name as it may go to a terminal: control characters (line breaks, the
// escape that starts a terminal's control sequence, the C1 controls) and the
// backslash are written as escapes, so that a file name can neither redraw the
// screen nor pass for two lines, and an escape stays told apart from a name.
std::string Printable(const std::string& text);

}  // namespace zv
