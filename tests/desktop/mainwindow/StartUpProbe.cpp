// A second copy of the desktop program for the single-instance test. It runs
// the program's own start-up, but writes each message box to standard output
// instead of showing it: a real box would wait for a person who is not there.

#include <QApplication>
#include <iostream>

#include "core/platform/HeadlessUi.h"
#include "desktop/mainwindow/MainWindow.h"
#include "desktop/mainwindow/StartUp.h"
#include "desktop/platform/SingleInstance.h"

namespace {

class RecordingUi : public zv::HeadlessUi {
  public:
    RecordingUi() { zv::SetUi(this); }
    ~RecordingUi() override { zv::SetUi(nullptr); }

    zv::MsgResult MessageBox(const zv::MessageBoxRequest& request) override {
        std::cout << "box\t" << request.text << '\t'
                  << (request.title.empty() ? zv::AppTitle() : request.title) << '\t'
                  << static_cast<int>(request.buttons) << '\t' << static_cast<int>(request.icon)
                  << '\n';
        return zv::DefaultAnswer(request.buttons, request.defaultButton);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const RecordingUi ui;
    zv::SingleInstance instance;
    const auto window = zv::StartUp(instance, zv::FilesToOpen(QApplication::arguments().mid(1)));
    std::cout << (window ? "window" : "no window") << std::endl;
    return 0;
}
