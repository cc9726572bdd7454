#include "desktop/mainwindow/StartUp.h"

#include <QFileInfo>

#include "core/platform/UiServices.h"
#include "core/settings/AppState.h"
#include "core/settings/ProgramPaths.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/mainwindow/MainWindow.h"
#include "desktop/platform/SingleInstance.h"

namespace zv {

std::unique_ptr<MainWindow> StartUp(SingleInstance& instance, const QStringList& files) {
    if (!instance.TryAcquire()) {
        if (files.isEmpty() || !instance.HandOver(files))
            ShowMessage(ExeBaseName() + ResString(text_id::AlreadyStartedTail));
        return nullptr;
    }
    App().untitledName = ResString(text_id::Untitled);
    App().untitledCounter = 0;

    auto window = std::make_unique<MainWindow>();
    window->BuildMenus();
    window->show();
    QObject::connect(&instance, &SingleInstance::FilesHandedOver, window.get(),
                     &MainWindow::OpenProjects);
    if (!files.isEmpty())
        window->OpenProjects(files);
    return window;
}

QStringList FilesToOpen(const QStringList& arguments) {
    QStringList files;
    for (const QString& argument : arguments)
        files.append(QFileInfo(argument).absoluteFilePath());
    return files;
}

}  // namespace zv
