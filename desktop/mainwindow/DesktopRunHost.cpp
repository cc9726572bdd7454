#include "desktop/mainwindow/DesktopRunHost.h"

#include "desktop/dialogs/dlgPinDock.h"
#include "desktop/dialogs/dlgRunSetting.h"
#include "desktop/mainwindow/mdiMain.h"
#include "desktop/projectwindow/frmNested.h"

namespace zv {

DesktopRunHost::DesktopRunHost(mdiMain& window, frmNested& project, QPointer<dlgPinDock>& runDialog)
    : window_(window), project_(project), runDialog_(runDialog) {}

bool DesktopRunHost::ConfirmRunSettings() {
    dlgRunSetting dialog(&window_, project_.Document());
    dialog.exec();
    return dialog.Applied();
}

void DesktopRunHost::OpenRunDialog() {
    runDialog_ = new dlgPinDock(&window_);
    QObject::connect(runDialog_, &dlgPinDock::PauseToggled, &window_, [&window = window_] {
        window.RefreshMenus();
        window.UpdateToolbar(false);
    });
    runDialog_->show();
}

RunObserver& DesktopRunHost::Observer() {
    return *runDialog_;
}

RunRequests& DesktopRunHost::Requests() {
    return runDialog_->Requests();
}

void DesktopRunHost::CloseRunDialog() {
    delete runDialog_;
}

void DesktopRunHost::RunStateChanged() {
    window_.RefreshMenus();
    window_.UpdateToolbar(false);
}

void DesktopRunHost::ShowResults() {
    // Turning to the result tab fills it; a tab already showing is filled again.
    if (project_.CurrentTab() == ProjectTab::Result)
        project_.FillMediumChooser();
    else
        project_.SelectTab(ProjectTab::Result);
}

}  // namespace zv
