#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>

#include "core/engine/RunObserver.h"

namespace zv {

class RunDialog;

// The run dialog as a run on a worker thread sees it: every report is handed
// to the dialog's thread as a queued call, so the worker never touches a
// widget and never waits for one. The bars and the detail line change at most
// every ~15 ms; a value held back goes out before the next status, so the
// dialog never shows the steps of one medium under the status of the next.
class QueuedRunObserver : public RunObserver {
  public:
    explicit QueuedRunObserver(RunDialog& dialog);

    void StatusChanged(const std::string& text) override;
    void ProgressChanged(int bar, const ProgressBarState& state) override;
    // The dialog's thread runs on its own; nothing to give back.
    void Yield() override {}
    // A paused run sleeps a little before it looks at the requests again.
    void PauseWait() override;
    // The dialog shows no figures of the media chosen.
    void MediumChosen(const MediumReport&) override {}
    void SearchRunning(bool running) override;
    void DetailChanged(const std::string& text) override;

  private:
    using Clock = std::chrono::steady_clock;

    // Whether a changing value may be shown now: the last one shown is old
    // enough; stamps `shown` when it may.
    static bool Due(Clock::time_point& shown);
    // Hands the values held back to the dialog.
    void SendHeld();

    // Outlives the run: whoever starts the run closes the dialog only after
    // the worker has ended.
    RunDialog* dialog_;
    std::array<ProgressBarState, 2> barsShown_{};
    std::array<Clock::time_point, 2> barsStamp_{};
    std::array<std::optional<ProgressBarState>, 2> barsHeld_{};
    Clock::time_point detailStamp_{};
    std::optional<std::string> detailHeld_;
};

}  // namespace zv
