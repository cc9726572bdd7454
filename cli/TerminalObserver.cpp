#include "cli/TerminalObserver.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
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

TerminalObserver::TerminalObserver(RunRequests& requests)
    : stopScope_(requests), terminal_(isatty(STDERR_FILENO) == 1) {}

TerminalObserver::~TerminalObserver() {
    if (lineOpen_)
        std::cerr << '\n';
}

void TerminalObserver::StatusChanged(const std::string& text) {
    ShowLine(OneLine(text), false);
}

void TerminalObserver::PauseWait() {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void TerminalObserver::Message(int id, const std::string& text) {
    if (!message_)
        message_ = RunMessage{id, text};
}

void TerminalObserver::MediumChosen(const MediumReport& report) {
    reports_[report.number] = report;
    ShowLine("medium " + std::to_string(report.number) + ": " + Rate(report), true);
}

void TerminalObserver::ShowLine(const std::string& text, bool done) {
    if (!terminal_)
        return;
    std::cerr << "\r\033[K" << text << (done ? "\n" : "") << std::flush;
    lineOpen_ = !done;
}

}  // namespace zv
