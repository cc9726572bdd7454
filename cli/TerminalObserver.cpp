#include "cli/TerminalObserver.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <thread>

#include "cli/ConsoleUi.h"

namespace zv {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
    interrupted = 1;
}

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
    : requests_(requests), terminal_(isatty(STDERR_FILENO) == 1) {
    interrupted = 0;
    std::signal(SIGINT, OnInterrupt);
}

TerminalObserver::~TerminalObserver() {
    std::signal(SIGINT, SIG_DFL);
    if (lineOpen_)
        std::cerr << '\n';
}

bool TerminalObserver::Interrupted() const {
    return interrupted != 0;
}

void TerminalObserver::StatusChanged(const std::string& text) {
    ShowLine(OneLine(text), false);
}

void TerminalObserver::Yield() {
    if (interrupted)
        requests_.abort = true;
}

void TerminalObserver::PauseWait() {
    Yield();
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
