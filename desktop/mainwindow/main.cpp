// The desktop program: one copy at a time, living on its main window. Project
// files named on the command line open in it, or in the copy already running.

#include <QApplication>
#include <iostream>

#include "core/settings/ProgramPaths.h"
#include "desktop/mainwindow/MainWindow.h"
#include "desktop/mainwindow/StartUp.h"
#include "desktop/platform/QtTranslations.h"
#include "desktop/platform/QtUi.h"
#include "desktop/platform/SingleInstance.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zv::InstallQtTranslations(app);
    // Without a settings file of their own the user works on the built-in
    // defaults, and the first setting that cannot be stored says so.
    if (const zv::Status prepared = zv::PrepareSettingsFile(); !prepared.ok())
        std::cerr << "zarvopack: " << prepared.message() << '\n';
    const zv::QtUi ui;
    zv::SingleInstance instance;
    const auto window = zv::StartUp(instance, zv::FilesToOpen(QApplication::arguments().mid(1)));
    if (!window)
        return 0;
    return QApplication::exec();
}
