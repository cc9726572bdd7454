#include "desktop/mainwindow/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/engine/RunRequests.h"
#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/settings/AppState.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/ShowError.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/dialogs/GroupNameDialog.h"
#include "desktop/dialogs/ProgramPicture.h"
#include "desktop/mainwindow/CommandRules.h"
#include "desktop/mainwindow/MainFormLayout.h"
#include "desktop/mainwindow/MenuCaptions.h"
#include "desktop/mainwindow/RecentFiles.h"
#include "desktop/mainwindow/ShellCommands.h"
#include "desktop/mainwindow/ToolbarLayout.h"
#include "desktop/platform/ScreenFit.h"
#include "desktop/platform/Twips.h"
#include "desktop/projectwindow/ProjectWindow.h"

// Qt's resource registration has to be named from the global namespace.
static void InitToolbarPictures() {
    Q_INIT_RESOURCE(toolbar);
}

namespace zv {

namespace {

// How often files handed over while a dialog is open look again whether it
// has closed.
constexpr int kModalRetryMs = 300;
// The smallest size the window can be given, in twips.
constexpr int kMinimumWidth = 6880;
constexpr int kMinimumHeight = 6165;
// Where the window opens while the settings file keeps no layout, in twips.
constexpr int kDesignLeft = 1200;
constexpr int kDesignTop = 900;
constexpr int kDesignWidth = 14400;
constexpr int kDesignHeight = 10200;
// Stored values beyond any screen are kept within this many twips.
constexpr double kFarthest = 10'000'000;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

int Rounded(double twips) {
    return static_cast<int>(std::lround(std::clamp(twips, -kFarthest, kFarthest)));
}

bool OpensSubmenu(const MenuEntry& entry) {
    const auto& tree = MenuTree();
    return std::any_of(tree.begin(), tree.end(),
                       [&entry](const MenuEntry& other) { return other.parent == entry.k; });
}

bool ShowsCheckMark(Command command) {
    return command == Command::ShowTab || command == Command::ToggleTab ||
           command == Command::SizeUnit || command == Command::PathMode;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), commands_(std::make_unique<ShellCommands>(*this)) {
    InitToolbarPictures();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowIcon(ProgramPicture());
    setMinimumSize(TwipsToPixelsX(kMinimumWidth), TwipsToPixelsY(kMinimumHeight));

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea_);
    BuildStartHint();
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] {
        startHint_->setVisible(mdiArea_->subWindowList().isEmpty());
        RefreshMenus();
        UpdateToolbar(false);
    });
    BuildMenuTree();

    try {
        setWindowTitle(Text(ResString(text_id::ProductName)));
        RestoreLayout();
        statusBar_ = new QStatusBar(this);
        statusBar_->setObjectName(QStringLiteral("objStatus"));
        setStatusBar(statusBar_);
        BuildToolbar();
    } catch (const PlatformError& error) {
        ShowError(error);
    }
    UpdateToolbar(false);
}

MainWindow::~MainWindow() {
    // Taking the frame down hides and deactivates the project windows; by then
    // the menus and buttons those signals would update are gone.
    for (const QMdiSubWindow* window : mdiArea_->subWindowList())
        disconnect(window->widget(), nullptr, this, nullptr);
    disconnect(mdiArea_, nullptr, this, nullptr);
}

void MainWindow::BuildStartHint() {
    // An empty frame says where to begin; the first project window covers it.
    startHint_ = new QLabel(
        Text(ResString(text_id::StartHint)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    startHint_->setObjectName(QStringLiteral("objStartHint"));
    startHint_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    startHint_->setTextFormat(Qt::PlainText);
    startHint_->setForegroundRole(QPalette::BrightText);
    auto* layout = new QVBoxLayout(mdiArea_->viewport());
    layout->addWidget(startHint_, 0, Qt::AlignCenter);
}

void MainWindow::BuildMenuTree() {
    for (const MenuEntry& entry : MenuTree()) {
        const QString name = Text(entry.Name());
        QAction* action = nullptr;
        if (entry.parent < 0 || OpensSubmenu(entry)) {
            QMenu* menu = entry.parent < 0 ? menuBar()->addMenu(QString())
                                           : submenus_.at(entry.parent)->addMenu(QString());
            menu->setObjectName(name);
            submenus_[entry.k] = menu;
            action = menu->menuAction();
            if (entry.parent < 0 && entry.index <= static_cast<int>(DropDown::Run)) {
                connect(menu, &QMenu::aboutToShow, this,
                        [this, menu = static_cast<DropDown>(entry.index)] { RefreshMenu(menu); });
            }
        } else {
            action = submenus_.at(entry.parent)->addAction(QString());
            action->setCheckable(ShowsCheckMark(entry.command));
            connect(action, &QAction::triggered, this,
                    [this, command = entry.command, argument = entry.argument] {
                        RunCommand(command, argument);
                    });
        }
        action->setObjectName(name);
        if (!entry.shortcut.empty())
            action->setShortcuts(QKeySequence::listFromString(Text(entry.shortcut)));
        action->setVisible(!entry.hidden);
        menuItems_[entry.k] = action;
    }
    resultMenu_ = new QMenu(this);
    resultMenu_->setObjectName(QStringLiteral("objResultMenu"));
    resultMenu_->addAction(menuItems_[menu_k::Export]);
    connect(resultMenu_, &QMenu::aboutToShow, this, [this] { RefreshMenu(DropDown::File); });
}

void MainWindow::BuildMenus() {
    try {
        const auto captions = MenuCaptions();
        for (int k = 0; k < kMenuItemCount; ++k) {
            QAction* item = menuItems_[k];
            const bool separator = item->menu() == nullptr && captions[k] == "-";
            item->setSeparator(separator);
            // A separator drawn with a text would show the "-" beside its line.
            item->setText(separator ? QString() : Text(captions[k]));
        }

        ShowRecentFiles();
    } catch (const PlatformError& error) {
        ShowError(error);
    }
}

void MainWindow::ShowRecentFiles() {
    const auto recent = RecentFileCaptions();
    bool anyShown = false;
    for (int r = 0; r < kRecentFileCount; ++r) {
        QAction* item = menuItems_[menu_k::FirstRecent + r];
        item->setText(Text(recent[r]));
        item->setVisible(!recent[r].empty());
        anyShown = anyShown || !recent[r].empty();
    }
    menuItems_[menu_k::RecentSeparator]->setVisible(anyShown);
}

void MainWindow::BuildToolbar() {
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("objToolB"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, toolBar_);

    for (const ToolbarEntry& entry : ToolbarLayout()) {
        if (entry.separator) {
            toolBar_->addSeparator();
            continue;
        }
        const QString key = Text(entry.key);
        QAction* button = toolBar_->addAction(QIcon(QStringLiteral(":/toolbar/%1.svg").arg(key)),
                                              Text(entry.tooltip));
        button->setObjectName(key);
        button->setToolTip(Text(entry.tooltip));
        toolBar_->widgetForAction(button)->setObjectName(key);
        buttons_[entry.command] = button;
        connect(button, &QAction::triggered, this,
                [this, command = entry.command] { OnToolbarButton(command); });
    }
}

void MainWindow::RestoreLayout() {
    QRect frame(TwipsToPixelsX(kDesignLeft), TwipsToPixelsY(kDesignTop),
                TwipsToPixelsX(kDesignWidth), TwipsToPixelsY(kDesignHeight));
    const MainFormLayout stored = ReadMainFormLayout();
    if (stored.top)
        frame.moveTop(TwipsToPixelsY(Rounded(*stored.top)));
    if (stored.left)
        frame.moveLeft(TwipsToPixelsX(Rounded(*stored.left)));
    if (stored.width)
        frame.setWidth(TwipsToPixelsX(Rounded(*stored.width)));
    if (stored.height)
        frame.setHeight(TwipsToPixelsY(Rounded(*stored.height)));
    move(frame.topLeft());
    resize(frame.size());
    FitToScreen(*this);
}

void MainWindow::StoreLayout() const {
    WriteMainFormLayout(PixelsToTwipsY(y()), PixelsToTwipsX(x()), PixelsToTwipsX(width()),
                        PixelsToTwipsY(height()));
}

ProjectWindow* MainWindow::ActiveProject() const {
    const QMdiSubWindow* window = mdiArea_->currentSubWindow();
    return window ? qobject_cast<ProjectWindow*>(window->widget()) : nullptr;
}

ProjectWindow* MainWindow::NewProjectWindow() {
    auto* project = new ProjectWindow;
    QMdiSubWindow* window = mdiArea_->addSubWindow(project);
    window->setWindowIcon(ProgramPicture());
    // The File menu's Close owns Ctrl+F4 and Ctrl+W; the subwindow's own menu
    // claiming one of them as well would leave the key doing nothing.
    for (QAction* action : window->systemMenu()->actions())
        action->setShortcuts({});
    window->resize(mdiArea_->width() * 3 / 4, mdiArea_->height() * 3 / 4);
    // A click or a new selection in a list changes what the commands can do,
    // their shortcut keys included.
    connect(project, &ProjectWindow::StateChanged, this, [this] {
        RefreshMenus();
        UpdateToolbar(false);
    });
    connect(project, &ProjectWindow::ListMenuWanted, this,
            [this](const QPoint& at) { submenus_.at(menu_k::ListMenu)->popup(at); });
    connect(project, &ProjectWindow::ResultMenuWanted, this,
            [this](const QPoint& at) { resultMenu_->popup(at); });
    project->SetGroupNameAsker(
        [this](const std::vector<ItemRecord>& items) { return GroupNameDialog::Ask(this, items); });
    window->show();
    Cascade(*window);
    mdiArea_->setActiveSubWindow(window);
    return project;
}

void MainWindow::Cascade(QMdiSubWindow& window) const {
    // New windows step down from the top left by a title bar's height and
    // start over before one would leave the visible area.
    const int step = std::max(1, window.style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QSize room = mdiArea_->viewport()->size() - window.size();
    const int places = std::max(0, std::min(room.width(), room.height())) / step + 1;
    const int k = (static_cast<int>(mdiArea_->subWindowList().size()) - 1) % places;
    window.move(k * step, k * step);
}

int MainWindow::ProjectWindowCount() const {
    return static_cast<int>(mdiArea_->subWindowList().size());
}

bool MainWindow::CloseProjectWindow(ProjectWindow& project) {
    auto* window = qobject_cast<QMdiSubWindow*>(project.parentWidget());
    return window == nullptr || window->close();
}

bool MainWindow::CloseProjectWindows() {
    for (;;) {
        ProjectWindow* project = ActiveProject();
        if (project == nullptr) {
            const auto windows = mdiArea_->subWindowList();
            if (windows.isEmpty())
                return true;
            project = qobject_cast<ProjectWindow*>(windows.front()->widget());
        }
        if (project == nullptr || !CloseProjectWindow(*project))
            return false;
    }
}

void MainWindow::RunCommand(Command command, int argument) {
    commands_->Run(command, argument);
    // A command may change a window's content without a click in it (adding
    // files, opening a project): the shortcut keys must act on what is there.
    RefreshMenus();
    UpdateToolbar(false);
}

void MainWindow::OpenProjects(const QStringList& paths) {
    if (QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(kModalRetryMs, this, [this, paths] { OpenProjects(paths); });
        return;
    }
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(path.toStdString());
    commands_->OpenFiles(files);
    RefreshMenus();
    UpdateToolbar(false);
}

CommandState MainWindow::TakeState() const {
    CommandState state;
    state.running = App().running;
    state.paused = App().runRequests != nullptr && App().runRequests->pause;
    for (int r = 0; r < kRecentFileCount; ++r)
        state.recentFileShown[r] = !menuItems_[menu_k::FirstRecent + r]->text().isEmpty();

    const ProjectWindow* project = ActiveProject();
    if (project == nullptr)
        return state;
    state.hasWindow = true;
    state.currentTab = project->CurrentTab();
    for (int tab = 0; tab < kProjectTabCount; ++tab)
        state.tabVisible[tab] = project->IsTabVisible(static_cast<ProjectTab>(tab));
    const SelectionKind selection = project->GetSelectionKind();
    state.selection = selection.rows;
    state.selectionCount = selection.count;
    state.groupOpened = !project->GetOpenGroup().empty();
    state.modified = project->Document().Modified();
    state.hasCutMarks = project->HasCutMarks();
    state.canUndo = project->Document().CanUndo();
    state.canRedo = project->Document().CanRedo();
    state.hasResults = project->HasResults();
    state.itemCount = static_cast<int>(project->Document().Items().size());
    state.sizeUnit = project->GetSizeUnit();
    state.pathMode = project->GetPathMode();
    return state;
}

void MainWindow::RefreshMenus() {
    for (const DropDown menu : {DropDown::File, DropDown::View, DropDown::List, DropDown::Run})
        RefreshMenu(menu);
}

void MainWindow::RefreshMenu(DropDown menu) {
    try {
        const MenuStates states = MenuRules(menu, TakeState());
        for (const auto& [k, enabled] : states.enabled)
            menuItems_[k]->setEnabled(enabled);
        for (const auto& [k, checked] : states.checked)
            menuItems_[k]->setChecked(checked);
    } catch (const PlatformError& error) {
        ShowError(error);
    }
}

void MainWindow::UpdateToolbar(bool ignoreActive) {
    try {
        for (const auto& [command, enabled] : ToolbarRules(TakeState(), ignoreActive)) {
            const auto button = buttons_.find(command);
            if (button != buttons_.end())
                button->second->setEnabled(enabled);
        }
    } catch (const PlatformError& error) {
        ShowMessage(error.Description(), ExeBaseName() + ResString(text_id::ToolbarErrorTitle) +
                                             std::to_string(error.Number()));
    }
}

void MainWindow::OnToolbarButton(Command command) {
    auto* button = qobject_cast<QToolButton*>(toolBar_->widgetForAction(buttons_.at(command)));
    button->setDown(true);
    if (command == Command::ChooseSizeUnit || command == Command::ChoosePathMode) {
        PopUpBelow(button, submenus_.at(command == Command::ChooseSizeUnit ? menu_k::SizeMenu
                                                                           : menu_k::PathMenu));
        RefreshMenu(DropDown::View);
    } else if (command != Command::None) {
        commands_->Run(command, 0);
    }
    button->setDown(false);
    RefreshMenus();
    UpdateToolbar(false);
}

void MainWindow::PopUpBelow(QToolButton* button, QMenu* menu) {
    menu->exec(toolBar_->mapToGlobal(QPoint(button->geometry().left(), toolBar_->height())));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The layout is kept even when the close is then refused.
    if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        StoreLayout();
    if (App().running) {
        // The run unwinds first; the commands quit once it has ended.
        if (ShowMessage(ResString(text_id::AskStopAndQuit), {}, MsgButtons::YesNo,
                        MsgIcon::Question, 1) == MsgResult::Yes &&
            App().runRequests != nullptr) {
            App().runRequests->abort = true;
            quitAfterRun_ = true;
        }
        event->ignore();
        return;
    }
    if (!CloseProjectWindows()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        UpdateToolbar(false);
    QMainWindow::changeEvent(event);
}

}  // namespace zv
