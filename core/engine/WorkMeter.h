#pragma once

#include <chrono>
#include <cstdint>

#include "core/engine/FewestMediaPacker.h"

namespace zv {

// Counts units of search work and relays progress to the caller. Results must not depend on
// wall-clock time, so the clock is only read to pace the callback, never to cut a search short;
// only the caller's Finish or Abort does that.
class WorkMeter {
  public:
    explicit WorkMeter(const PackProgress& progress);

    // Reports right away, so that a caller can stop a long run before any search starts.
    void Begin();
    // Counts units of work; returns false when the search must stop (Finish or Abort).
    bool Step(std::int64_t units = 1) {
        const std::int64_t before = steps_;
        steps_ += units;
        if ((before & ~kClockMask) != (steps_ & ~kClockMask)) {
            Poll();
        }
        return !stopRequested();
    }
    std::int64_t steps() const { return steps_; }
    bool finishing() const { return control_ == PackControl::Finish; }
    bool aborted() const { return control_ == PackControl::Abort; }
    bool stopRequested() const { return control_ != PackControl::Continue; }
    void SetStatus(int mediaSoFar, int mediumBeingFilled) {
        status_.mediaSoFar = mediaSoFar;
        status_.mediumBeingFilled = mediumBeingFilled;
        status_.bestFill = 0;
    }
    void SetBestFill(double fill) { status_.bestFill = fill; }

  private:
    static constexpr std::int64_t kClockMask = 4095;
    static constexpr std::chrono::milliseconds kReportEvery{25};

    void Poll();
    void Report();

    const PackProgress& progress_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastReport_;
    PackStatus status_{};
    PackControl control_ = PackControl::Continue;
    std::int64_t steps_ = 0;
};

}  // namespace zv
