#include "cli/TerminalObserver.h"

#include <cstdio>
#include <thread>

#include "cli/ConsoleUi.h"

namespace zv {

namespace {

std::string Rate(const MediumReport& report) {
    if (report.searchSteps == 0)
        return "no search";
    char text[96];
    const double seconds = report.searchSeconds > 0 ? report.searchSeconds : 1e-9;
    std::snprintf(text, sizeof text, "%lld steps in %.2f s (%.1f M steps/s)", report.searchSteps,
                  report.searchSeconds, report.searchSteps / seconds / 1e6);
    return text;
}

}  // namespace

TerminalObserver::TerminalObserver(RunRequests& requests, bool quiet)
    : stopScope_(requests), line_(quiet) {}

void TerminalObserver::StatusChanged(const std::string& text) {
    line_.Show(OneLine(text));
}

void TerminalObserver::PauseWait() {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void TerminalObserver::MediumChosen(const MediumReport& report) {
    line_.Keep("medium " + std::to_string(report.number) + ": " + Rate(report));
}

}  // namespace zv
