#include "cli/WorkProgress.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <iostream>

namespace zv {

namespace {

// Rewriting the line more often only makes the terminal flicker.
constexpr auto kInterval = std::chrono::milliseconds(200);
// Before this much is done, or this much time has passed, the time left is a guess.
constexpr double kShareToTell = 0.01;
constexpr double kSecondsToTell = 2;

std::string OneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace

WorkProgress::WorkProgress(bool shown)
    : shown_(shown), start_(std::chrono::steady_clock::now()), lastShown_(start_ - kInterval) {}

WorkProgress::~WorkProgress() {
    Clear();
}

bool WorkProgress::Wanted(bool quiet) {
    return !quiet && ::isatty(STDERR_FILENO) == 1;
}

void WorkProgress::Show(const std::string& what, double done, uintmax_t totalBytes) {
    if (!shown_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (what == lastWhat_ && now - lastShown_ < kInterval)
        return;
    lastShown_ = now;
    lastWhat_ = what;
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    std::string line = what + ": " + Bytes(done * static_cast<double>(totalBytes)) + " of " +
                       Bytes(static_cast<double>(totalBytes)) + ", " +
                       std::to_string(static_cast<int>(std::floor(done * 100))) + "%";
    if (const std::string left = TimeLeft(done, elapsed); !left.empty())
        line += ", " + left;
    Put(line);
}

void WorkProgress::ShowText(const std::string& text) {
    if (shown_)
        Put(text);
}

void WorkProgress::Put(const std::string& line) {
    std::cerr << '\r' << line << "\x1b[K" << std::flush;
    onScreen_ = true;
}

void WorkProgress::Clear() {
    if (!onScreen_)
        return;
    std::cerr << "\r\x1b[K" << std::flush;
    onScreen_ = false;
}

std::string WorkProgress::Bytes(double bytes) {
    if (bytes >= 1e9)
        return OneDecimal(bytes / 1e9) + " GB";
    if (bytes >= 1e6)
        return OneDecimal(bytes / 1e6) + " MB";
    if (bytes >= 1e3)
        return OneDecimal(bytes / 1e3) + " kB";
    return std::to_string(static_cast<long long>(bytes)) + " bytes";
}

std::string WorkProgress::TimeLeft(double done, double elapsedSeconds) {
    if (done < kShareToTell || done >= 1 || elapsedSeconds < kSecondsToTell)
        return "";
    const double left = elapsedSeconds * (1 - done) / done;
    if (left < 60)
        return "about " + std::to_string(static_cast<int>(std::ceil(left))) + " s left";
    if (left < 3600)
        return "about " + std::to_string(static_cast<int>(std::ceil(left / 60))) + " min left";
    return "about " + OneDecimal(left / 3600) + " h left";
}

}  // namespace zv
