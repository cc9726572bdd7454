#include "desktop/dialogs/ExportProgressWindow.h"

#include <cmath>
#include <limits>

#include "core/platform/UiServices.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/platform/QtText.h"

namespace zv {

namespace {

// Steps of the bar.
constexpr int kSteps = 1000;

}  // namespace

ExportProgressWindow::ExportProgressWindow(QWidget* owner) : dialog_(owner) {
    dialog_.setObjectName(QStringLiteral("ExportProgressWindow"));
    dialog_.setWindowTitle(ShownText(ResString(text_id::ExportTitle)));
    dialog_.setCancelButtonText(ShownText(ResString(text_id::CancelButton)));
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setRange(0, kSteps);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    // Shown by the first report, not by Qt's own estimate of the time left.
    dialog_.setMinimumDuration(std::numeric_limits<int>::max());
}

void ExportProgressWindow::Progress(const std::string& output, double done) {
    dialog_.setLabelText(ShownText(ResString(text_id::ExportWriting) + "\r\n" + output));
    dialog_.setValue(static_cast<int>(std::lround(done * kSteps)));
    if (!dialog_.isVisible())
        dialog_.show();
    Ui().Yield();
}

bool ExportProgressWindow::KeepGoing() {
    Ui().Yield();
    return !dialog_.wasCanceled();
}

void ExportProgressWindow::Ended() {
    dialog_.hide();
}

}  // namespace zv
