#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "cli/ProgressLine.h"

namespace zv {

// What a progress line says of a long export or check whose share done is
// known ("medium 2 of 4 (p_02.iso): 1.2 GB of 4.4 GB, 27%, about 3 min
// left"); the line itself is drawn, or not, as ProgressLine decides.
class WorkProgress {
  public:
    explicit WorkProgress(bool quiet);

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
    ProgressLine line_;
    std::string lastWhat_;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace zv
