#pragma once

#include <chrono>
#include <string>

namespace zv {

// One line of progress on standard error, drawn over itself, for long work
// watched on a terminal. It draws nothing when standard error is no terminal
// (a log or a pipe gets no redrawn lines) or when the user asked for quiet.
// The open line is erased when the line goes, so that what the command
// writes after it starts on a clean line.
class ProgressLine {
  public:
    explicit ProgressLine(bool quiet);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    bool Shown() const { return shown_; }
    // Whether the line is due to be drawn again: often enough to see the work
    // move, seldom enough that drawing costs nothing. Callers make the text
    // only then.
    bool Due();
    // Draws `text` over the line now.
    void Show(const std::string& text);
    // Draws `text` and ends the line, so that it stays on the screen.
    void Keep(const std::string& text);
    // Erases the line.
    void Clear();

  private:
    using Clock = std::chrono::steady_clock;

    bool shown_;
    bool open_ = false;
    Clock::time_point last_{};
};

}  // namespace zv
