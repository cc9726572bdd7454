#include "desktop/mainwindow/StartUp.h"

#include "core/platform/UiServices.h"
#include "core/settings/AppState.h"
#include "core/settings/ProgramPaths.h"
#include "core/strings/StringTable.h"
#include "desktop/mainwindow/mdiMain.h"
#include "desktop/platform/SingleInstance.h"

namespace zv {

namespace {

constexpr int kAlreadyRunning = 40096;  // "は既に起動中です"
constexpr int kUntitled = 40097;        // "無題"

}  // namespace

std::unique_ptr<mdiMain> StartUp(SingleInstance& instance) {
    if (!instance.TryAcquire()) {
        ShowMessage(ExeBaseName() + ResString(kAlreadyRunning));
        return nullptr;
    }
    App().untitledName = ResString(kUntitled);
    App().untitledCounter = 0;

    auto window = std::make_unique<mdiMain>();
    window->BuildMenus();
    window->show();
    return window;
}

}  // namespace zv
