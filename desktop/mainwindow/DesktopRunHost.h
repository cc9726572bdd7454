#pragma once

#include <QPointer>

#include "core/project/StartRun.h"

namespace zv {

class dlgPinDock;
class frmNested;
class mdiMain;

// A run as the desktop program shows it: the run settings dialog modal over
// the main window, the run dialog beside it, the main window's commands
// following the run, and the results on the project window's result tab.
class DesktopRunHost : public RunHost {
  public:
    // `runDialog` is where the main window keeps its one run dialog.
    DesktopRunHost(mdiMain& window, frmNested& project, QPointer<dlgPinDock>& runDialog);

    bool ConfirmRunSettings() override;
    void OpenRunDialog() override;
    RunObserver& Observer() override;
    RunRequests& Requests() override;
    void CloseRunDialog() override;
    void RunStateChanged() override;
    void ShowResults() override;

  private:
    mdiMain& window_;
    frmNested& project_;
    QPointer<dlgPinDock>& runDialog_;
};

}  // namespace zv
