#include "cli/TakenRunSettings.h"

#include <cstdint>

namespace zv {

namespace {

// Values that pass every check together, whatever the others are: a large
// medium, no tolerance, one medium, any number of items on it.
RunSettings Passing() {
    RunSettings settings;
    settings.MediaSize = "1P";
    settings.DiffSize = 0;
    settings.MediaNum = 1;
    settings.MaxFile = INT32_MAX;
    settings.MinFile = 0;
    return settings;
}

}  // namespace

void CheckTakenRunSettings(const CliOptions& options, const RunSettings& settings,
                           const std::string& source) {
    try {
        RequireRunSettings(settings);
    } catch (const UsageError& error) {
        // Refused with passing values in the place of those not given: the
        // command line's own values are at fault.
        RequireRunSettings(options.Apply(Passing()));
        throw Failure(std::string(error.what()) + "; the values not given on the command line " +
                      "come from " + source);
    }
}

}  // namespace zv
