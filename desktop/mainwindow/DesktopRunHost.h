#pragma once

#include <QPointer>

#include "core/project/StartRun.h"

namespace zv {

class RunDialog;
class ProjectWindow;
class MainWindow;

// A run as the desktop program shows it: the run settings dialog modal over
// the main window, the run dialog beside it, the main window's commands
// following the run, the results on the project window's result tab, and then
// the after-run action with its progress in a run dialog of its own.
class DesktopRunHost : public RunHost {
  public:
    // `runDialog` is where the main window keeps its one run dialog.
    DesktopRunHost(MainWindow& window, ProjectWindow& project, QPointer<RunDialog>& runDialog);

    bool ConfirmRunSettings() override;
    void OpenRunDialog() override;
    RunObserver& Observer() override;
    RunRequests& Requests() override;
    void CloseRunDialog() override;
    void RunStateChanged() override;
    void ShowResults() override;

  private:
    // Exports the media as the project's settings ask after its run: an
    // output that is there already is replaced only when the user agrees;
    // the run dialog's abort cancels, and its pause holds the export.
    void ActAfterRun();
    // Whether the export may go on, letting the window take the user's clicks.
    bool ExportGoesOn();

    MainWindow& window_;
    ProjectWindow& project_;
    QPointer<RunDialog>& runDialog_;
};

}  // namespace zv
