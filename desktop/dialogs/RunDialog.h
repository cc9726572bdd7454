#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "core/engine/RunObserver.h"
#include "core/engine/RunRequests.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zv {

// The window of a run in progress: the status line, the progress of the
// search within a medium and of the sizes tried, and the buttons that pause,
// resume or abort the run, or take the best combination found so far for the
// medium being searched. It shows what the run reports (on the window's own
// thread) and holds the requests the run reads from its worker thread; it
// does not block the main window that owns it.
class RunDialog : public QDialog {
    Q_OBJECT

  public:
    explicit RunDialog(QWidget* owner);

    RunRequests& Requests() { return requests_; }
    void RequestAbort();
    void TogglePause();
    bool IsPaused() const { return requests_.pause; }
    // The medium being searched ends with the best combination found so far;
    // the run goes on with the next one.
    void RequestFinish();

    void ShowStatus(const std::string& text);
    void ShowProgress(int bar, const ProgressBarState& state);
    // A line that says how far the search of the medium has come.
    void ShowDetail(const std::string& text);
    // Finishing a medium early is offered only while its search runs.
    void ShowSearchRunning(bool running);

  signals:
    // The run was paused or resumed: the commands follow.
    void PauseToggled();

  protected:
    // Escape does not close the window: it goes when its run ends.
    void reject() override {}

  private:
    RunRequests requests_;
    // The status line as it was when the run was paused, and as the run has
    // set it since; it comes back on resuming.
    std::string savedStatus_;

    QLabel* statusLabel_ = nullptr;
    QLabel* detailLabel_ = nullptr;
    QPushButton* abortButton_ = nullptr;
    QPushButton* pauseButton_ = nullptr;
    QPushButton* finishButton_ = nullptr;
    // By bar: the bar and what it measures.
    std::array<QProgressBar*, 2> bars_{};
    std::array<QLabel*, 2> barCaptions_{};
};

}  // namespace zv
