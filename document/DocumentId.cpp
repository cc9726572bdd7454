#include "document/DocumentId.h"

#include <chrono>
#include <cstdio>

namespace zv {

std::string DocumentIdAt(const std::tm& local, int milliseconds) {
    const float sinceMidnight =
        static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) +
        static_cast<float>(milliseconds) / 1000.0f;
    // Seven significant digits, no trailing zeros: how a single-precision
    // number reads as text.
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.7g", static_cast<double>(sinceMidnight));
    return std::to_string(local.tm_year + 1900) + std::to_string(local.tm_mon + 1) +
           std::to_string(local.tm_mday) + std::to_string(local.tm_hour) +
           std::to_string(local.tm_min) + std::to_string(local.tm_sec) + seconds;
}

std::string NewDocumentId() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t whole = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&whole, &local);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    return DocumentIdAt(local, static_cast<int>(milliseconds));
}

}  // namespace zv
