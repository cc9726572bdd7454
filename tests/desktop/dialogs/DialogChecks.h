#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>
#include <string>

#include "tests/support/BoxChecks.h"

namespace zv::test {

// The control of `parent` with that object name; a missing one fails the test.
template <class Widget = QWidget>
Widget* Control(const QWidget& parent, const QString& name) {
    auto* widget = parent.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

}  // namespace zv::test
