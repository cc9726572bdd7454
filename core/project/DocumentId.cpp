#include "core/project/DocumentId.h"

#include <chrono>
#include <cstdio>
#include <set>

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
    const std::string id = DocumentIdAt(local, static_cast<int>(milliseconds));
    // Windows made within the same hundredth of a second would share an id, and
    // with it the temporary project copy that closing one of them deletes; a
    // later one gets a counter behind the time.
    static std::set<std::string> issued;
    std::string unique = id;
    for (int n = 2; !issued.insert(unique).second; ++n)
        unique = id + "_" + std::to_string(n);
    return unique;
}

}  // namespace zv
