#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>

#include "cli/ProgressLine.h"
#include "cli/StopSignals.h"
#include "core/engine/RunObserver.h"
#include "core/engine/RunRequests.h"

namespace zv {

// Follows a run on the terminal: keeps the run's messages and each medium's
// search figures for the report, shows progress on standard error when that is
// a terminal and quiet is not asked for, and lets a stop signal (Ctrl+C, SIGTERM) abort the run.
class TerminalObserver : public RunObserver {
  public:
    struct RunMessage {
        int id;
        std::string text;
    };

    TerminalObserver(RunRequests& requests, bool quiet);
    TerminalObserver(const TerminalObserver&) = delete;
    TerminalObserver& operator=(const TerminalObserver&) = delete;

    void StatusChanged(const std::string& text) override;
    void ProgressChanged(int, const ProgressBarState&) override {}
    void Yield() override {}
    void PauseWait() override;
    void Message(int id, const std::string& text) override;
    void MediumChosen(const MediumReport& report) override;

    // The first message of the run, if any.
    const std::optional<RunMessage>& FirstMessage() const { return message_; }
    const std::map<int, MediumReport>& Reports() const { return reports_; }

  private:
    StopSignals::RunScope stopScope_;
    ProgressLine line_;
    std::optional<RunMessage> message_;
    std::map<int, MediumReport> reports_;
};

}  // namespace zv
