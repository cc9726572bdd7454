#include "core/engine/WorkMeter.h"

namespace zv {

WorkMeter::WorkMeter(const PackProgress& progress)
    : progress_(progress), start_(std::chrono::steady_clock::now()), lastReport_(start_) {}

void WorkMeter::Begin() {
    Report();
}

void WorkMeter::Poll() {
    if (std::chrono::steady_clock::now() - lastReport_ >= kReportEvery) {
        Report();
    }
}

void WorkMeter::Report() {
    if (!progress_ || stopRequested()) {
        return;
    }
    lastReport_ = std::chrono::steady_clock::now();
    status_.elapsedSeconds = std::chrono::duration<double>(lastReport_ - start_).count();
    control_ = progress_(status_);
}

}  // namespace zv
