#include "core/engine/RunSettingCheck.h"

#include <utility>

#include "core/settings/CapacityText.h"
#include "core/settings/SettingsValueError.h"
#include "core/settings/SizePresets.h"
#include "core/settings/TextNumber.h"
#include "core/strings/StringIds.h"

namespace zv {

std::optional<double> ReadCapacity(const std::string& mediaSize, std::string* cause) {
    if (const std::optional<double> bytes = ParseNumber(mediaSize))
        return bytes;
    try {
        return CapacityFromText(mediaSize, ReadSizePresets());
    } catch (const SettingsValueError& error) {
        if (cause)
            *cause = error.BoxText();
        return std::nullopt;
    }
}

std::optional<RunSettingRefusal> CheckRunSettings(const RunSettings& settings,
                                                  double* capacityBytes) {
    using Rule = RunSettingRule;
    using Field = RunSettingField;
    const auto refuse = [&](Rule rule, Field field, int message, std::string cause = {}) {
        return RunSettingRefusal{rule, field, message, settings.MediaSize, std::move(cause)};
    };
    std::string cause;
    const std::optional<double> capacity = ReadCapacity(settings.MediaSize, &cause);
    if (!capacity)
        return refuse(Rule::CapacityUnknown, Field::MediaSize, text_id::WrongCapacity, cause);
    if (*capacity > kMaxCapacity)
        return refuse(Rule::CapacityTooLarge, Field::MediaSize, text_id::CapacityTooLarge);
    if (!(*capacity > 0))
        return refuse(Rule::CapacityNotPositive, Field::MediaSize, text_id::WrongCapacity);
    if (settings.MediaNum == 0)
        return refuse(Rule::NoMediaCount, Field::MediaCount, text_id::NoMediaCount);
    if (!(settings.DiffSize >= 0))
        return refuse(Rule::NegativeTolerance, Field::Tolerance, text_id::NegativeTolerance);
    // The dialog shows the tolerance beside the media size it must stay below.
    if (!(settings.DiffSize < *capacity))
        return refuse(Rule::ToleranceTooLarge, Field::MediaSize, text_id::ToleranceTooLarge);
    if (!(settings.MinFile < settings.MaxFile))
        return refuse(Rule::MinItemsNotBelowMax, Field::MaxItems, text_id::MinFilesNotBelowMax);
    if (capacityBytes)
        *capacityBytes = *capacity;
    return std::nullopt;
}

}  // namespace zv
