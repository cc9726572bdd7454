#pragma once

#include <stdexcept>
#include <string>

#include "core/engine/RunRequests.h"

namespace zv {

// A command ended by SIGINT or SIGTERM once what it had begun was cleaned away.
class Stopped : public std::runtime_error {
  public:
    explicit Stopped(int signal);
    // Stopped where more was kept than nothing: `state` says what now is.
    Stopped(int signal, const std::string& state);

    int Signal() const { return signal_; }
    // The exit status of a program ended by the signal: 128 + its number.
    int ExitStatus() const { return 128 + signal_; }

  private:
    int signal_;
};

// Ctrl+C (SIGINT) and SIGTERM stop the command instead of killing it: the run
// being made, if any, is asked to abort at its next search step, and the
// command ends at its next check, so that every temporary file is removed and
// the project is left as it was saved.
class StopSignals {
  public:
    // Catches both signals for the rest of the process.
    static void Install();
    // The signal received, 0 while none was.
    static int Received();
    // Throws Stopped once a signal was received.
    static void Check();

    // While it lives, a stop signal also sets the run's abort request.
    class RunScope {
      public:
        explicit RunScope(RunRequests& requests);
        ~RunScope();
        RunScope(const RunScope&) = delete;
        RunScope& operator=(const RunScope&) = delete;
    };
};

}  // namespace zv
