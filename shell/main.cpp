// The desktop program: one copy at a time, living on its main window.

#include <QApplication>

#include "platform/QtUi.h"
#include "platform/SingleInstance.h"
#include "shell/StartUp.h"
#include "shell/mdiMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const zv::QtUi ui;
    zv::SingleInstance instance;
    const auto window = zv::StartUp(instance);
    if (!window)
        return 0;
    return QApplication::exec();
}
