#include "cli/WorkProgress.h"

#include <cmath>
#include <cstdio>
#include <iostream>

namespace zv {

namespace {

// Before this much is done, or this much time has passed, the time left is a guess.
constexpr double kShareToTell = 0.01;
constexpr double kSecondsToTell = 2;

std::string OneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace

WorkProgress::WorkProgress(bool quiet) : line_(quiet), start_(std::chrono::steady_clock::now()) {}

void WorkProgress::Show(const std::string& what, double done, uintmax_t totalBytes) {
    // A new output is shown at once; the same one as often as the line allows.
    if (!line_.Shown() || (!line_.Due() && what == lastWhat_))
        return;
    lastWhat_ = what;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::string text = what + ": " + Bytes(done * static_cast<double>(totalBytes)) + " of " +
                       Bytes(static_cast<double>(totalBytes)) + ", " +
                       std::to_string(static_cast<int>(std::floor(done * 100))) + "%";
    if (const std::string left = TimeLeft(done, elapsed); !left.empty())
        text += ", " + left;
    line_.Show(text);
}

void WorkProgress::ShowText(const std::string& text) {
    line_.Show(text);
}

void WorkProgress::Clear() {
    line_.Clear();
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
