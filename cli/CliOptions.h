#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/engine/RunSettings.h"

namespace zv {

// A command line that cannot be carried out as written.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct CliOptions {
    enum class Command { Help, Plan, Run, Show };

    Command command = Command::Help;
    std::vector<std::string> paths;        // plan: files and folders; run, show: the project
    std::optional<std::string> sizesFile;  // "-" for standard input
    bool groupFolders = false;

    std::optional<std::string> mediaSize;
    std::optional<double> tolerance;
    std::optional<int16_t> mediaCount;
    std::optional<int16_t> maxItems;
    std::optional<int16_t> minItems;
    std::optional<bool> fast;
    double mediumTimeLimit = 0;  // seconds; 0 = none
    std::string savePath;

    bool json = false;
    bool verbose = false;

    // The run settings these options make of `base`: each option given
    // replaces its field.
    RunSettings Apply(RunSettings base) const;
};

// Reads the command line (without the program name). Throws UsageError.
CliOptions ParseCommandLine(const std::vector<std::string>& args);

// Refuses settings that the run settings dialog would refuse, with the reason.
// Throws UsageError.
void CheckRunSettings(const RunSettings& settings);

const char* UsageText();

}  // namespace zv
