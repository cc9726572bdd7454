#pragma once

#include <QPointer>
#include <cstdint>
#include <string>
#include <vector>

#include "core/project/ProjectTab.h"
#include "desktop/mainwindow/Command.h"

namespace zv {

class RunDialog;
class ProjectWindow;
class AboutDialog;
class MainWindow;

// What the menu items and tool bar buttons do. Every command acts on the
// main window's active project window and does nothing without one, unless it
// makes or opens one.
class ShellCommands {
  public:
    explicit ShellCommands(MainWindow& window);
    ~ShellCommands();

    ShellCommands(const ShellCommands&) = delete;
    ShellCommands& operator=(const ShellCommands&) = delete;

    // Runs one command; an unexpected failure ends in the common error box.
    void Run(Command command, int argument);
    // Opens each project file as Open does once a file is chosen (files named
    // on the program's command line).
    void OpenFiles(const std::vector<std::string>& paths);

  private:
    void Dispatch(Command command, int argument);
    void New();
    void Open();
    // Opens a project file as Open does once the file is chosen: in the
    // active window while that holds nothing, else in a new one; a file that
    // a window holds already brings that window to the front.
    void OpenPath(const std::string& path);
    // The project window whose project is the file at `path`, or none.
    ProjectWindow* WindowHolding(const std::string& path) const;
    // An untouched new project: no file, no items, no edits.
    static bool HoldsNothing(const ProjectWindow& project);
    static void Activate(ProjectWindow& project);
    // A project file was opened or saved: it becomes the first recent file.
    void Remember(const std::string& path);
    std::string CurrentProjectPath() const;
    void Close(bool all);
    void Save(ProjectWindow& project, int16_t mode);
    void Export(ProjectWindow& project);
    void Exit();
    void ToggleTab(ProjectWindow& project, ProjectTab tab);
    void Add(ProjectWindow& project);
    void StartRun(ProjectWindow& project);
    void ShowRunSettings(ProjectWindow& project);
    void ShowVersion();

    MainWindow& window_;
    QPointer<AboutDialog> version_;
    // The dialog of the run in progress, from its start to its end.
    QPointer<RunDialog> runDialog_;
};

}  // namespace zv
