#include "desktop/mainwindow/StartUp.h"

#include "core/platform/UiServices.h"
#include "core/settings/AppState.h"
#include "core/settings/ProgramPaths.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/mainwindow/MainWindow.h"
#include "desktop/platform/SingleInstance.h"

namespace zv {

std::unique_ptr<MainWindow> StartUp(SingleInstance& instance) {
    if (!instance.TryAcquire()) {
        ShowMessage(ExeBaseName() + ResString(text_id::AlreadyStartedTail));
        return nullptr;
    }
    App().untitledName = ResString(text_id::Untitled);
    App().untitledCounter = 0;

    auto window = std::make_unique<MainWindow>();
    window->BuildMenus();
    window->show();
    return window;
}

}  // namespace zv
