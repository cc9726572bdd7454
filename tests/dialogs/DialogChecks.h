#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>
#include <string>

#include "platform/UiServices.h"

namespace zv::test {

// The control of `parent` with that object name; a missing one fails the test.
template <class Widget = QWidget>
Widget* Control(const QWidget& parent, const QString& name) {
    auto* widget = parent.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

// A box as the dialogs show theirs: no icon, the first button the default.
inline void ExpectBox(const MessageBoxRequest& box, const std::string& text,
                      const std::string& title, MsgButtons buttons = MsgButtons::OK) {
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.title, title);
    EXPECT_EQ(box.buttons, buttons);
    EXPECT_EQ(box.icon, MsgIcon::None);
    EXPECT_EQ(box.defaultButton, 0);
}

}  // namespace zv::test
