#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/UiServices.h"

namespace zv {

// The services as the tests see them: every box is recorded with its resolved
// title, and answered from a queue the test filled beforehand. A box that
// nobody expected, or an answer left unused, fails the running test.
class ScriptedUi : public UiServices {
  public:
    ScriptedUi();
    ~ScriptedUi() override;

    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    // Queues the answer to the next message box.
    void Answer(MsgResult answer);

    const std::vector<MessageBoxRequest>& Boxes() const { return boxes_; }
    // The text of the only box shown so far; fails the test when there are
    // none or several.
    std::string OnlyBoxText() const;
    int YieldCount() const { return yields_; }

    MsgResult MessageBox(const MessageBoxRequest& request) override;
    void Yield() override { ++yields_; }

  private:
    std::deque<MsgResult> answers_;
    std::vector<MessageBoxRequest> boxes_;
    int yields_ = 0;
};

}  // namespace zv
