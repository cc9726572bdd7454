#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "core/platform/UiServices.h"

namespace zv::test {

// Asserts one message box in full. Most of the program's boxes show no icon and
// take their first button as the default.
inline void ExpectBox(const MessageBoxRequest& box, const std::string& text,
                      const std::string& title, MsgButtons buttons = MsgButtons::OK,
                      MsgIcon icon = MsgIcon::None, int defaultButton = 0) {
    EXPECT_EQ(box.text + "|" + box.title, text + "|" + title);
    EXPECT_EQ(std::tie(box.buttons, box.icon, box.defaultButton),
              std::tie(buttons, icon, defaultButton))
        << text;
}

}  // namespace zv::test
