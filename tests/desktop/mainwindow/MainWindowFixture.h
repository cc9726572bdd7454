#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <memory>
#include <string>
#include <vector>

#include "core/project/ProjectFile.h"
#include "core/settings/AppState.h"
#include "core/settings/FileRef.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"
#include "desktop/mainwindow/MainWindow.h"
#include "desktop/projectwindow/ProjectListModel.h"
#include "desktop/projectwindow/ProjectListView.h"
#include "desktop/projectwindow/ProjectWindow.h"
#include "tests/support/BoxChecks.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv::test {

using Texts = std::vector<std::string>;

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
        WriteSetting(settings_keys::MediaSize, "700");
        window_ = std::make_unique<MainWindow>();
        window_->BuildMenus();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    void WriteSetting(const SettingsKey& key, const std::string& value) {
        ASSERT_TRUE(IniFile(folder_.Settings()).Write(key.section, key.name, value));
    }

    std::string MakeFile(const std::string& name, std::size_t bytes) {
        const std::string path = folder_.File(name);
        WriteBytes(path, std::string(bytes, 'x'));
        return path;
    }

    // A project file holding the files p1 and p2 as single items.
    std::string MakeProjectFile(const std::string& name) {
        const std::string a = MakeFile("p1", 10), b = MakeFile("p2", 20);
        EXPECT_TRUE(ProjectFile::Write(folder_.File(name), {{a, 0, {{a, 10}}}, {b, 0, {{b, 20}}}},
                                       RunSettings()));
        return folder_.File(name);
    }

    // A new project window holding the given files as single items and, if
    // named, a group of g1 and g2; the list shows the files, then the group.
    ProjectWindow& ProjectWith(const Texts& names, const std::string& group = "") {
        window_->RunCommand(Command::New);
        ProjectWindow& project = *window_->ActiveProject();
        const auto add = [&](const Texts& items, const std::string& to) {
            std::vector<FileRef> files;
            for (const std::string& name : items)
                files.push_back(FileRef::Get(MakeFile(name, 100)));
            EXPECT_TRUE(files.empty() || project.AddFiles(files, to));
        };
        add(names, "");
        if (!group.empty())
            add({"g1", "g2"}, group);
        project.RenderList(ProjectList::Files, "", 0);
        project.ListView(ProjectList::Files)->setFocus();
        window_->UpdateToolbar(false);
        return project;
    }

    QAction* Item(const char* name) const {
        auto* item = window_->findChild<QAction*>(QString::fromUtf8(name));
        EXPECT_NE(item, nullptr) << name;
        return item;
    }

    QToolBar& Bar() const { return *window_->findChild<QToolBar*>(QStringLiteral("objToolB")); }
    QWidget* Button(const char* key) const {
        return Bar().widgetForAction(Bar().findChild<QAction*>(QString::fromUtf8(key)));
    }

    // The keys of the enabled tool bar buttons, in bar order.
    Texts EnabledButtons() const {
        Texts keys;
        for (const QAction* button : Bar().actions())
            if (!button->isSeparator() && button->isEnabled())
                keys.push_back(button->objectName().toStdString());
        return keys;
    }

    // Opens top-level menu i as the user does, which refreshes its items, and
    // closes it again.
    void OpenMenu(int i) {
        auto* menu = window_->findChild<QMenu*>(QStringLiteral("hM(%1)").arg(i));
        QMenuBar* bar = window_->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(menu->isVisible());
        menu->hide();
    }

    // Selects rows of the file list as sorted on screen: a click on the
    // first, Ctrl and a click on each further one.
    void Select(ProjectWindow& project, std::initializer_list<int> rows) {
        ProjectListView* view = project.ListView(ProjectList::Files);
        Qt::KeyboardModifiers modifiers;
        for (const int row : rows) {
            const QRect rect = view->RowRect(row);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, rect.center());
            modifiers = Qt::ControlModifier;
        }
    }

    TempFolder folder_;
    ScriptedUi ui_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace zv::test
