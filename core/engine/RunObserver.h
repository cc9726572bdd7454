#pragma once

#include <string>

namespace zv {

// One of the run's two progress bars: 0 counts the search steps within a
// medium, 1 the loading of rows and the sizes tried.
struct ProgressBarState {
    int min = 0;
    int max = 100;
    int value = 0;
    bool visible = false;

    bool operator==(const ProgressBarState&) const = default;
};

// What the engine reports of a medium whose contents are chosen.
struct MediumReport {
    int number = 0;
    long long searchSteps = 0;
    double searchSeconds = 0;
};

// Whoever shows a run: the run dialog on the desktop, the terminal in the
// command-line tool. The engine never talks to widgets, only to this.
class RunObserver {
  public:
    virtual ~RunObserver() = default;

    virtual void StatusChanged(const std::string& text) = 0;
    virtual void ProgressChanged(int bar, const ProgressBarState& state) = 0;
    // Lets the user interface run. Called often; it should only do real work
    // when enough time has passed since it last did.
    virtual void Yield() = 0;
    // The run is paused: wait a little while letting the user interface run.
    virtual void PauseWait() = 0;
    virtual void MediumChosen(const MediumReport& report) = 0;
    // A medium's combination search began (true) or ended (false). Only in
    // between does the finish request mean anything; an observer that offers
    // no way to make it can ignore this.
    virtual void SearchRunning(bool) {}
    // A line that says, while a medium is searched, how far the search has
    // come (medium, time, best fill). An observer may leave it unshown.
    virtual void DetailChanged(const std::string&) {}
};

}  // namespace zv
