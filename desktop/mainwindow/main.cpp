// The desktop program: one copy at a time, living on its main window.

#include <QApplication>

#include "desktop/mainwindow/MainWindow.h"
#include "desktop/mainwindow/StartUp.h"
#include "desktop/platform/QtTranslations.h"
#include "desktop/platform/QtUi.h"
#include "desktop/platform/SingleInstance.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zv::InstallQtTranslations(app);
    const zv::QtUi ui;
    zv::SingleInstance instance;
    const auto window = zv::StartUp(instance);
    if (!window)
        return 0;
    return QApplication::exec();
}
