#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace zv {

// The line on standard error that tells a person at a terminal how far a long
// export or check has come ("medium 2 of 4 (p_02.iso): 1.2 GB of 4.4 GB,
// 27%, about 3 min left"), rewritten in place a few times a second. Shown
// only when `shown`: standard error is a terminal and --quiet was not given.
class WorkProgress {
  public:
    explicit WorkProgress(bool shown);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    // Whether the command was started with standard error at a terminal and
    // without --quiet.
    static bool Wanted(bool quiet);

    // `done`: the share of the work done (0 to 1) of `totalBytes`. A new
    // `what` is shown at once.
    void Show(const std::string& what, double done, uintmax_t totalBytes);
    // Says what is being done where the share done is not known.
    void ShowText(const std::string& text);
    // Takes the line away, so that a message can stand in its place.
    void Clear();

    // "1.2 GB", "340 MB", "12 kB", "5 bytes".
    static std::string Bytes(double bytes);
    // "about 3 min left"; empty while too little is done to tell.
    static std::string TimeLeft(double done, double elapsedSeconds);

  private:
    void Put(const std::string& line);

    bool shown_;
    std::string lastWhat_;
    bool onScreen_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastShown_;
};

}  // namespace zv
