#pragma once

#include <QPointer>
#include <cstdint>
#include <string>
#include <vector>

#include "core/project/ProjectTab.h"
#include "desktop/mainwindow/Command.h"

namespace zv {

class dlgPinDock;
class frmNested;
class frmVersion;
class mdiMain;

// What the menu items and tool bar buttons do. Every command acts on the
// main window's active project window and does nothing without one, unless it
// makes or opens one.
class ShellCommands {
  public:
    explicit ShellCommands(mdiMain& window);
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
    // Opens a project file as Open does once the file is chosen.
    void OpenPath(const std::string& path);
    // A project file was opened or saved: it becomes the first recent file.
    void Remember(const std::string& path);
    std::string CurrentProjectPath() const;
    void Close(bool all);
    void Save(frmNested& project, int16_t mode);
    void Export(frmNested& project);
    void Exit();
    void ToggleTab(frmNested& project, ProjectTab tab);
    void Add(frmNested& project);
    void StartRun(frmNested& project);
    void ShowRunSettings(frmNested& project);
    void ShowVersion();

    mdiMain& window_;
    QPointer<frmVersion> version_;
    // The dialog of the run in progress, from its start to its end.
    QPointer<dlgPinDock> runDialog_;
};

}  // namespace zv
