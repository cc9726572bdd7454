#pragma once

#include <optional>
#include <string>

#include "core/engine/RunSettings.h"

namespace zv {

// The run setting a refusal sends the user back to.
enum class RunSettingField { MediaSize, Tolerance, MediaCount, MaxItems, MinItems };

// Which rule a run's settings break.
enum class RunSettingRule {
    // The media size is no number, size preset or capacity with a unit.
    CapacityUnknown,
    // More than any medium holds.
    CapacityTooLarge,
    CapacityNotPositive,
    NoMediaCount,
    NegativeTolerance,
    ToleranceTooLarge,
    MinItemsNotBelowMax,
};

// Why a run cannot start on these settings: the rule, the field to correct,
// the string table's text that says so, and its argument (the media size
// text where the rule concerns it). `cause` names what failed beneath, such
// as a settings file that could not be read for the presets.
struct RunSettingRefusal {
    RunSettingRule rule;
    RunSettingField field;
    int message = 0;
    std::string argument;
    std::string cause;
};

// The bytes of a media size: a number of bytes, the name of a size preset of
// the settings file (read only for a text that is no plain number), or a
// capacity with a unit or a disc's name. Nothing when it is none of them;
// `cause` receives why the settings file could not be read, if it could not.
std::optional<double> ReadCapacity(const std::string& mediaSize, std::string* cause = nullptr);

// The first rule the settings break, if any; otherwise `capacityBytes`, when
// given, receives the capacity.
std::optional<RunSettingRefusal> CheckRunSettings(const RunSettings& settings,
                                                  double* capacityBytes = nullptr);

}  // namespace zv
