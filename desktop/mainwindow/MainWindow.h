#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "desktop/mainwindow/CommandRules.h"
#include "desktop/mainwindow/CommandState.h"
#include "desktop/mainwindow/MenuTree.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace zv {

class ProjectWindow;
class ShellCommands;

// The main window: a frame for the project windows with the menu bar, the tool
// bar and the status bar. It keeps its position and size in the settings file,
// enables the commands by the state of the run and of the active project
// window, and closes during a run only by stopping it first.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // Loads the window: caption, the stored layout, the status bar, the tool
    // bar from the string table and its states. The menu captions come with
    // BuildMenus.
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Sets the caption of every entry of `menuItems_` (the settings file may
    // override them) and the recent-file entries. Run once at start.
    void BuildMenus();
    // Shows the recent files the settings file lists in the File menu.
    void ShowRecentFiles();
    // Enables and checks the items of one drop-down, or of all of them.
    void RefreshMenu(DropDown menu);
    void RefreshMenus();
    // Enables the tool bar buttons; with ignoreActive the active project window
    // counts as absent.
    void UpdateToolbar(bool ignoreActive);

    // The active project window, or none.
    ProjectWindow* ActiveProject() const;
    // A new project window in the frame, shown.
    ProjectWindow* NewProjectWindow();
    int ProjectWindowCount() const;
    // Gives the project window its close request; false when it refused.
    bool CloseProjectWindow(ProjectWindow& project);

    // Runs a command as its menu item or button does, then updates the tool
    // bar.
    void RunCommand(Command command, int argument = 0);
    // Opens the project files, each as Open does, and brings the window to
    // the front; while a dialog of this program waits for the user they wait
    // until it is closed.
    void OpenProjects(const QStringList& paths);

    // Whether the user chose to stop the run and quit; asking clears it.
    bool TakeQuitAfterRun() { return std::exchange(quitAfterRun_, false); }

    // Entry k of `menuItems_`.
    QAction* MenuItem(int k) const { return menuItems_[k]; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // Places a new project window inside the visible area, below the last.
    void Cascade(QMdiSubWindow& window) const;
    void BuildMenuTree();
    void BuildStartHint();
    void BuildToolbar();
    void RestoreLayout();
    void StoreLayout() const;
    // Closes the project windows one by one; false when one refused.
    bool CloseProjectWindows();
    CommandState TakeState() const;
    void OnToolbarButton(Command command);
    // Pops a View submenu up under the tool bar at the button's left edge.
    void PopUpBelow(QToolButton* button, QMenu* menu);

    QMdiArea* mdiArea_ = nullptr;
    // What to do first, on the frame while no project window is open.
    QLabel* startHint_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    // Every item of the menu bar, by its position in the caption table.
    std::array<QAction*, kMenuItemCount> menuItems_{};
    // The submenus by the k of the item that opens them.
    std::map<int, QMenu*> submenus_;
    // The menu of a result list's right button: the export.
    QMenu* resultMenu_ = nullptr;
    std::map<Command, QAction*> buttons_;
    std::unique_ptr<ShellCommands> commands_;
    bool quitAfterRun_ = false;
};

}  // namespace zv
