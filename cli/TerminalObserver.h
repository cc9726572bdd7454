#pragma once

#include <chrono>
#include <string>

#include "cli/ProgressLine.h"
#include "cli/StopSignals.h"
#include "core/engine/RunObserver.h"
#include "core/engine/RunRequests.h"

namespace zv {

// Follows a run on the terminal: shows progress on standard error when that is
// a terminal and quiet is not asked for, and lets a stop signal (Ctrl+C, SIGTERM) abort the run.
class TerminalObserver : public RunObserver {
  public:
    TerminalObserver(RunRequests& requests, bool quiet);
    TerminalObserver(const TerminalObserver&) = delete;
    TerminalObserver& operator=(const TerminalObserver&) = delete;

    void StatusChanged(const std::string& text) override;
    void ProgressChanged(int, const ProgressBarState&) override {}
    void Yield() override {}
    void PauseWait() override;
    void MediumChosen(const MediumReport& report) override;

  private:
    StopSignals::RunScope stopScope_;
    ProgressLine line_;
};

}  // namespace zv
