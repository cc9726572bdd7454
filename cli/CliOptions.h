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
    enum class Command { Help, Version, Plan, Run, Show, Export, Verify };

    Command command = Command::Help;
    // plan: files and folders; run, show, export: the project; verify: the
    // project and the medium
    std::vector<std::string> paths;
    std::optional<std::string> sizesFile;  // "-" for standard input
    bool groupFolders = false;

    std::optional<std::string> mediaSize;
    std::optional<double> tolerance;
    std::optional<int32_t> mediaCount;
    std::optional<int32_t> maxItems;
    std::optional<int32_t> minItems;
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
    // A file that cannot be hard-linked into a link folder is copied.
    bool copy = false;
    std::optional<int32_t> medium;  // verify: the medium to compare with

    bool json = false;
    bool verbose = false;
    // No progress lines and no notes, only results, warnings and errors.
    bool quiet = false;
    // Items left off every medium, and entries no disc can hold, are still
    // named but do not change the exit status.
    bool allowUnplaced = false;

    // The run settings these options make of `base`: each option given
    // replaces its field. A media size given without a tolerance takes the
    // tolerance that goes with it, a thousandth of the size, as the run
    // settings dialog's "Auto" proposes; the stored one belongs to the stored
    // size.
    RunSettings Apply(RunSettings base) const;
};

// The capacity a media size text stands for: a number of bytes, a size
// preset's capacity, or a capacity with a unit or a disc's name ("4.7G",
// "dvd"); 0 when it is none of them.
double MediaBytes(const std::string& mediaSize);

// What a media size written with a unit or as a disc's name comes to, for a
// note on standard error ("media size '4.7G': 4,700,000,000 bytes"); empty
// for a number of bytes and a preset, whose bytes the user wrote down.
std::string CapacityNote(const RunSettings& settings);

// Reads the command line (without the program name). Throws UsageError.
CliOptions ParseCommandLine(const std::vector<std::string>& args);

// Refuses settings a run must not start on, with the reason in words.
// Throws UsageError.
void RequireRunSettings(const RunSettings& settings);

const char* UsageText();

}  // namespace zv
