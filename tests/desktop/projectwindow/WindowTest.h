#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "desktop/projectwindow/ListViewItem.h"
#include "desktop/projectwindow/frmNested.h"
#include "tests/support/BoxChecks.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv::test {

using Texts = std::vector<std::string>;

// The text colour of a list that shows the members of a group.
inline const QColor kDarkBlue(0, 0, 192);

// The texts of one column of a list view top to bottom, or with column -1
// the rows' tags.
inline Texts ColumnTexts(const QTreeWidget& view, int column) {
    Texts texts;
    for (int row = 0; row < view.topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = view.topLevelItem(row);
        texts.push_back(column < 0 ? static_cast<const ListViewItem*>(item)->Tag()
                                   : item->text(column).toStdString());
    }
    return texts;
}
inline Texts RowTags(const QTreeWidget& view) {
    return ColumnTexts(view, -1);
}

inline QColor TextColour(const QTreeWidget& view) {
    return view.palette().color(QPalette::Text);
}

inline QPoint RowCentre(const QTreeWidget& view, int row) {
    return view.visualItemRect(view.topLevelItem(row)).center();
}

// Project windows over real files in a fresh program folder whose settings
// give new windows a plain capacity; every message box is answered by the test.
class WindowTest : public ::testing::Test {
  protected:
    WindowTest() { WriteBytes(folder_.Settings(), "[DEFAULT_SET_RUN]\nMediaSize=700\n"); }

    std::string MakeFile(const std::string& name, std::size_t bytes) {
        WriteBytes(folder_.File(name), std::string(bytes, 'x'));
        return folder_.File(name);
    }
    std::string F(const std::string& name) const { return folder_.File(name); }
    FileRef File(const std::string& name, std::size_t bytes) {
        return FileRef::Get(MakeFile(name, bytes));
    }

    static void Show(frmNested& window) {
        window.resize(640, 480);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    TempFolder folder_;
    ScriptedUi ui_;
};

}  // namespace zv::test
