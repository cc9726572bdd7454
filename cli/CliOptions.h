#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/engine/PackingMethod.h"
#include "core/engine/RunSettings.h"
#include "core/project/MediumExport.h"

namespace zv {

// A command line that cannot be carried out as written.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A command line that is fine but could not be carried out: a file that cannot
// be read or must not be replaced, a run that failed. Exits with 1.
class Failure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct CliOptions {
    enum class Command { Help, Version, Plan, Run, Show, Export };

    Command command = Command::Help;
    std::vector<std::string> paths;  // plan: files and folders; run, show, export: the project
    std::optional<std::string> sizesFile;  // "-" for standard input
    bool groupFolders = false;

    std::optional<std::string> mediaSize;
    std::optional<double> tolerance;
    std::optional<int16_t> mediaCount;
    std::optional<int16_t> maxItems;
    std::optional<int16_t> minItems;
    std::optional<bool> fast;
    std::optional<PackingMethod> method;
    std::optional<double> mediumTimeLimit;  // seconds; 0 = none
    std::optional<FileSystemAllowance> fsAllowance;
    std::string savePath;
    // --save may replace a file that holds no project; export and the
    // after-run action replace what they wrote before.
    bool force = false;
    // Carry out the after-run action stored in the project of `run`.
    bool afterRun = false;

    std::optional<ExportFormat> format;
    std::string exportFolder;  // empty: the project's folder

    bool json = false;
    bool verbose = false;

    // The run settings these options make of `base`: each option given
    // replaces its field. A media size given without a tolerance takes the
    // tolerance that goes with it, a thousandth of the size, as the run
    // settings dialog's "Auto" proposes; the stored one belongs to the stored
    // size.
    RunSettings Apply(RunSettings base) const;
};

// The capacity a media size text stands for: a number of bytes or a size
// preset's capacity; 0 when it is neither.
double MediaBytes(const std::string& mediaSize);

// Reads the command line (without the program name). Throws UsageError.
CliOptions ParseCommandLine(const std::vector<std::string>& args);

// Refuses settings that the run settings dialog would refuse, with the reason.
// Throws UsageError.
void CheckRunSettings(const RunSettings& settings);

const char* UsageText();

}  // namespace zv
