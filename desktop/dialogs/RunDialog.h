#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "core/engine/RunObserver.h"
#include "core/engine/RunRequests.h"

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

namespace zv {

// The window of a run in progress: the status line, the progress of the
// search within a medium and of the sizes tried, and the buttons that pause,
// resume or abort the run, or take the best combination found so far for the
// medium being searched. It shows what the engine reports and holds the
// requests the engine reads; it does not block the main window that owns it.
class RunDialog : public QDialog, public RunObserver {
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

    void StatusChanged(const std::string& text) override;
    void ProgressChanged(int bar, const ProgressBarState& state) override;
    void Yield() override;
    void PauseWait() override;
    // The dialog shows no figures of the media chosen.
    void MediumChosen(const MediumReport&) override {}
    void SearchRunning(bool running) override;
    void DetailChanged(const std::string& text) override;

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

    std::array<QLabel*, 2> objLabel{};
    std::array<QPushButton*, 3> objButton{};
    std::array<QProgressBar*, 2> objProgress{};
    // By bar: what it measures.
    std::array<QLabel*, 2> objBarCaption{};
    std::array<QFrame*, 1> objFrame{};
};

}  // namespace zv
