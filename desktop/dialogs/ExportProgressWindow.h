#pragma once

#include <QProgressDialog>

#include "core/project/ExportRequest.h"

namespace zv {

// The window of an export in progress: the output being written, a bar, and
// a cancel button. It blocks its owner from the first report to the end.
class ExportProgressWindow : public ExportWatcher {
  public:
    explicit ExportProgressWindow(QWidget* owner);

    void Progress(const std::string& output, double done) override;
    // Lets the window take the user's clicks; false once cancel was pressed.
    bool KeepGoing() override;
    void Ended() override;

    QProgressDialog& Window() { return dialog_; }

  private:
    QProgressDialog dialog_;
};

}  // namespace zv
