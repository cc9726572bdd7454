#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

#include "core/settings/AppState.h"
#include "core/settings/FileRef.h"
#include "core/settings/IniAccess.h"
#include "core/settings/SettingsKeys.h"
#include "desktop/mainwindow/mdiMain.h"
#include "desktop/projectwindow/frmNested.h"
#include "tests/support/BoxChecks.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv::test {

// A main window as the program starts it, in a temporary program folder with
// its own settings file, every box answered by the test.
class MainWindowFixture : public ::testing::Test {
  protected:
    MainWindowFixture() {
        App() = AppState();
        App().untitledName = "無題";
    }
    ~MainWindowFixture() override {
        App().running = false;
        App().runRequests = nullptr;
    }

    void Start() {
        // A media size the information tab can resolve without asking.
        WriteSetting(settings_keys::MediaSize.section, settings_keys::MediaSize.name, "700");
        window_ = std::make_unique<mdiMain>();
        window_->BuildMenus();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    void WriteSetting(const std::string& section, const std::string& key, std::string value) {
        ASSERT_TRUE(IniAccess(IniWrite, section, key, value, folder_.Settings()));
    }

    std::string MakeFile(const std::string& name, std::size_t bytes) {
        const std::string path = folder_.File(name);
        WriteBytes(path, std::string(bytes, 'x'));
        return path;
    }

    // A new project window holding the given files as single items.
    frmNested& ProjectWith(const std::vector<std::string>& names) {
        window_->RunCommand(Command::New);
        frmNested& project = *window_->ActiveProject();
        std::vector<FileRef> files;
        for (const std::string& name : names)
            files.push_back(FileRef::Get(MakeFile(name, 100)));
        if (!files.empty()) {
            EXPECT_TRUE(project.AddFiles(files, ""));
        }
        project.RenderList(ProjectList::Files, project.GetOpenGroup(), 0);
        window_->UpdateToolbar(false);
        return project;
    }

    QAction* Item(const char* name) const {
        auto* item = window_->findChild<QAction*>(QString::fromUtf8(name));
        EXPECT_NE(item, nullptr) << name;
        return item;
    }

    QToolButton* Button(const char* key) const {
        auto* button = window_->findChild<QToolButton*>(QString::fromUtf8(key));
        EXPECT_NE(button, nullptr) << key;
        return button;
    }

    // The keys of the enabled tool bar buttons, in bar order.
    std::vector<std::string> EnabledButtons() const {
        std::vector<std::string> keys;
        for (const char* key : {"New", "Open", "Save", "Size", "Path", "Add", "Delete", "Cut",
                                "Paste", "Group", "Release", "Start", "Break", "Stop", "Setup"})
            if (Button(key)->isEnabled())
                keys.push_back(key);
        return keys;
    }

    // Opens top-level menu i from the menu bar as the user does, which
    // refreshes its items, and closes it again.
    void OpenMenu(int i) {
        auto* menu = window_->findChild<QMenu*>(QStringLiteral("hM(%1)").arg(i));
        ASSERT_NE(menu, nullptr);
        QMenuBar* bar = window_->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(menu->isVisible());
        menu->hide();
    }

    // A group of new files of 10 bytes added to the project.
    void AddGroup(frmNested& project, const std::string& group,
                  const std::vector<std::string>& names) {
        std::vector<FileRef> files;
        for (const std::string& name : names)
            files.push_back(FileRef::Get(MakeFile(name, 10)));
        ASSERT_TRUE(project.AddFiles(files, group));
    }

    // Selects rows of list `list` (as sorted on screen): a click on the first,
    // Ctrl and a click on each further one.
    void Select(frmNested& project, ProjectList list, std::initializer_list<int> rows) {
        QTreeWidget* view = project.ListView(list);
        Qt::KeyboardModifiers modifiers;
        for (const int row : rows) {
            const QRect rect = view->visualItemRect(view->topLevelItem(row));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, rect.center());
            modifiers = Qt::ControlModifier;
        }
    }

    TempFolder folder_;
    ScriptedUi ui_;
    std::unique_ptr<mdiMain> window_;
};

}  // namespace zv::test
