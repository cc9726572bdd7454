#pragma once

#include <array>
#include <map>
#include <string>

#include "core/engine/RunObserver.h"

namespace zv {

// The status line and the two progress bars of a run as the engine drives
// them, forwarded to the observer whenever they change.
class RunDisplay {
  public:
    explicit RunDisplay(RunObserver& observer) : observer_(observer) {}

    void SetStatus(const std::string& text);
    const ProgressBarState& Bar(int bar) const { return bars_[bar]; }
    void SetBar(int bar, int min, int max, int value);
    void SetValue(int bar, int value);
    void SetMin(int bar, int min);
    void ShowBar(int bar, bool visible);
    void Yield() { observer_.Yield(); }
    // Passes the medium on to the observer and keeps it for the run's result.
    void MediumChosen(const MediumReport& report);
    const std::map<int, MediumReport>& Reports() const { return reports_; }
    RunObserver& Observer() { return observer_; }

    // " " + padding + n + "枚目の選定をしています．．．": the status while medium n is searched.
    static std::string MediumStatusText(int n);
    // The status once medium n is chosen.
    static std::string RecordingStatusText(int n);
    // What a search has reached, in words: "3枚目  経過 1.2秒  最良の充填率 99.87%".
    static std::string SearchDetailText(int n, double seconds, double fill);

  private:
    void Changed(int bar) { observer_.ProgressChanged(bar, bars_[bar]); }

    RunObserver& observer_;
    std::array<ProgressBarState, 2> bars_{};
    std::map<int, MediumReport> reports_;
};

}  // namespace zv
