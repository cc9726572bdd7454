#include "cli/ProgressLine.h"

#include <unistd.h>

#include <iostream>

namespace zv {

namespace {

constexpr std::chrono::milliseconds kInterval{100};

// Back to the line's start, and everything to its end erased.
constexpr const char* kRedraw = "\r\033[K";

}  // namespace

ProgressLine::ProgressLine(bool quiet) : shown_(!quiet && isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine() {
    Clear();
}

bool ProgressLine::Due() {
    if (!shown_)
        return false;
    const Clock::time_point now = Clock::now();
    if (now - last_ < kInterval)
        return false;
    last_ = now;
    return true;
}

void ProgressLine::Show(const std::string& text) {
    if (!shown_)
        return;
    std::cerr << kRedraw << text << std::flush;
    open_ = true;
}

void ProgressLine::Keep(const std::string& text) {
    if (!shown_)
        return;
    std::cerr << kRedraw << text << '\n' << std::flush;
    open_ = false;
}

void ProgressLine::Clear() {
    if (!open_)
        return;
    std::cerr << kRedraw << std::flush;
    open_ = false;
}

}  // namespace zv
