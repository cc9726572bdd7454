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

}  // namespace zv
