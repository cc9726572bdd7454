#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
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

// Acts on the modal dialog of type D from inside the loop that shows it.
template <class D>
void WhenModal(std::function<void(D&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

}  // namespace zv::test
