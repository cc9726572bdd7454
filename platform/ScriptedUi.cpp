#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

namespace zv {

ScriptedUi::ScriptedUi() {
    SetUi(this);
}

ScriptedUi::~ScriptedUi() {
    SetUi(nullptr);
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " message box answer(s) left unused";
}

void ScriptedUi::Answer(MsgResult answer) {
    answers_.push_back(answer);
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

}  // namespace zv
