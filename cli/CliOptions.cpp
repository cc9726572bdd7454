#include "cli/CliOptions.h"

#include <cmath>

#include "core/settings/SizePresets.h"
#include "core/settings/TextNumber.h"

namespace zv {

namespace {

// The largest count the dialogs accept.
constexpr int kMaxCount = 32766;
// Capacities and tolerances from one yottabyte on are refused.
constexpr double kYotta = 1e24;

double NonNegativeNumber(const std::string& option, const std::string& text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value || *value < 0 || !std::isfinite(*value)) {
        throw UsageError(option + " needs a number of 0 or more, not '" + text + "'");
    }
    return *value;
}

int16_t Count(const std::string& option, const std::string& text) {
    const double value = NonNegativeNumber(option, text);
    if (value != std::floor(value) || value > kMaxCount) {
        throw UsageError(option + " needs a whole number from 0 to 32766, not '" + text + "'");
    }
    return static_cast<int16_t>(value);
}

}  // namespace

RunSettings CliOptions::Apply(RunSettings base) const {
    if (mediaSize) {
        base.MediaSize = *mediaSize;
        base.DiffSize = std::floor(MediaBytes(*mediaSize) / 1000);
    }
    if (tolerance)
        base.DiffSize = *tolerance;
    if (mediaCount)
        base.MediaNum = *mediaCount;
    if (maxItems)
        base.MaxFile = *maxItems;
    if (minItems)
        base.MinFile = *minItems;
    if (fast)
        base.MaxSpeed = *fast;
    if (method)
        base.Method = *method;
    if (fsAllowance)
        base.FsAllowance = *fsAllowance;
    return base;
}

CliOptions ParseCommandLine(const std::vector<std::string>& args) {
    CliOptions options;
    if (args.empty())
        return options;

    const std::string& command = args[0];
    if (command == "plan") {
        options.command = CliOptions::Command::Plan;
    } else if (command == "run") {
        options.command = CliOptions::Command::Run;
    } else if (command == "show") {
        options.command = CliOptions::Command::Show;
    } else if (command == "export") {
        options.command = CliOptions::Command::Export;
    } else if (command == "help" || command == "--help" || command == "-h") {
        return options;
    } else if (command == "--version") {
        options.command = CliOptions::Command::Version;
        return options;
    } else {
        throw UsageError("unknown command '" + command + "' (plan, run, show, export or help)");
    }

    const bool runs =
        options.command == CliOptions::Command::Plan || options.command == CliOptions::Command::Run;
    const bool exports = options.command == CliOptions::Command::Export;
    bool onlyPaths = false;
    for (size_t i = 1; i < args.size(); ++i) {
        std::string arg = args[i];
        if (onlyPaths || arg.size() < 2 || arg[0] != '-' || arg == "-") {
            options.paths.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyPaths = true;
            continue;
        }
        std::optional<std::string> inlineValue;
        if (const size_t eq = arg.find('='); eq != std::string::npos) {
            inlineValue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        auto value = [&]() -> std::string {
            if (inlineValue)
                return *inlineValue;
            if (i + 1 >= args.size())
                throw UsageError(arg + " needs a value");
            return args[++i];
        };
        // Switches take no value: "--verbose=no" must not turn anything on.
        auto flag = [&]() {
            if (inlineValue)
                throw UsageError(arg + " takes no value");
        };
        auto runOption = [&]() {
            if (!runs)
                throw UsageError(arg + " is an option of plan and run");
        };
        auto exportOption = [&]() {
            if (!exports)
                throw UsageError(arg + " is an option of export");
        };
        auto planOption = [&]() {
            if (options.command != CliOptions::Command::Plan) {
                throw UsageError(arg + " is an option of plan");
            }
        };

        if (arg == "--json") {
            flag();
            options.json = true;
        } else if (arg == "--verbose" || arg == "-v") {
            flag();
            options.verbose = true;
        } else if (arg == "--media-size") {
            runOption();
            options.mediaSize = value();
        } else if (arg == "--tolerance") {
            runOption();
            options.tolerance = NonNegativeNumber(arg, value());
        } else if (arg == "--media-count") {
            runOption();
            options.mediaCount = Count(arg, value());
        } else if (arg == "--max-items") {
            runOption();
            options.maxItems = Count(arg, value());
        } else if (arg == "--min-items") {
            runOption();
            options.minItems = Count(arg, value());
        } else if (arg == "--fast") {
            runOption();
            flag();
            options.fast = true;
        } else if (arg == "--no-fast") {
            runOption();
            flag();
            options.fast = false;
        } else if (arg == "--method") {
            runOption();
            const std::string name = value();
            if (name == "sequential") {
                options.method = PackingMethod::Sequential;
            } else if (name == "fewest") {
                options.method = PackingMethod::FewestMedia;
            } else {
                throw UsageError("--method needs sequential or fewest, not '" + name + "'");
            }
        } else if (arg == "--fs-allowance") {
            runOption();
            const std::string name = value();
            if (name == "none") {
                options.fsAllowance = FileSystemAllowance::None;
            } else if (name == "iso9660") {
                options.fsAllowance = FileSystemAllowance::Iso9660;
            } else {
                throw UsageError("--fs-allowance needs none or iso9660, not '" + name + "'");
            }
        } else if (arg == "--medium-time-limit") {
            runOption();
            options.mediumTimeLimit = NonNegativeNumber(arg, value());
        } else if (arg == "--save") {
            planOption();
            options.savePath = value();
        } else if (arg == "--force") {
            if (!exports && !runs)
                throw UsageError(arg + " is an option of plan, run and export");
            flag();
            options.force = true;
        } else if (arg == "--format") {
            exportOption();
            const std::string name = value();
            if (name == "links") {
                options.format = ExportFormat::Links;
            } else if (name == "lists") {
                options.format = ExportFormat::Lists;
            } else if (name == "catalog") {
                options.format = ExportFormat::Catalog;
            } else if (name == "iso") {
                options.format = ExportFormat::Iso;
            } else {
                throw UsageError("--format needs links, lists, iso or catalog, not '" + name + "'");
            }
        } else if (arg == "--to") {
            exportOption();
            options.exportFolder = value();
        } else if (arg == "--sizes") {
            planOption();
            options.sizesFile = value();
        } else if (arg == "--group-folders") {
            planOption();
            flag();
            options.groupFolders = true;
        } else {
            throw UsageError("unknown option '" + arg + "'");
        }
    }

    if (options.command == CliOptions::Command::Plan) {
        if (options.paths.empty() && !options.sizesFile) {
            throw UsageError("plan needs files or folders, or --sizes FILE");
        }
    } else if (options.paths.size() != 1) {
        throw UsageError(args[0] + " needs exactly one project file");
    }
    if (exports && !options.format)
        throw UsageError("export needs --format links, lists, iso or catalog");
    return options;
}

double MediaBytes(const std::string& mediaSize) {
    if (const std::optional<double> bytes = ParseNumber(mediaSize))
        return *bytes;
    for (const SizePreset& preset : ReadSizePresets()) {
        if (preset.name == mediaSize)
            return preset.capacity;
    }
    return 0;
}

void CheckRunSettings(const RunSettings& settings) {
    double capacity = 0;
    if (const std::optional<double> bytes = ParseNumber(settings.MediaSize)) {
        capacity = *bytes;
        if (capacity >= kYotta)
            throw UsageError("the media size must stay below one yottabyte");
    } else {
        std::string names;
        for (const SizePreset& preset : ReadSizePresets()) {
            if (preset.name == settings.MediaSize)
                capacity = preset.capacity;
            names += (names.empty() ? "" : ", ") + ("'" + preset.name + "'");
        }
        if (capacity <= 0) {
            throw UsageError("the media size '" + settings.MediaSize +
                             "' is neither a number of bytes nor a size preset" +
                             (names.empty() ? std::string() : " (presets: " + names + ")"));
        }
    }
    if (capacity <= 0)
        throw UsageError("the media size must be more than 0 bytes");
    if (settings.MediaNum == 0)
        throw UsageError("the media count must not be 0");
    if (settings.DiffSize >= capacity) {
        throw UsageError("the tolerance must be smaller than the media size");
    }
    if (settings.MinFile >= settings.MaxFile) {
        throw UsageError("the minimum items must be smaller than the maximum items");
    }
}

const char* UsageText() {
    return R"(usage: zarvopack-cli plan [options] PATH...
       zarvopack-cli plan [options] --sizes FILE
       zarvopack-cli run [options] PROJECT.mtb
       zarvopack-cli show [--json] [--verbose] PROJECT.mtb
       zarvopack-cli export --format links|lists|iso|catalog [--to DIR]
                     [--force] PROJECT.mtb
       zarvopack-cli --version

Divides files over as few media as it can, filling each medium as close to
its capacity as the search gets.

  plan    every file named, and every file below every folder named, is one
          item; a project is made of them and run
  run     runs on a saved project and keeps the results in it
  show    lists the items of each medium and the unplaced ones
  export  writes the placed files of a run project out per medium

plan options:
  --group-folders        each folder named becomes one group item, named after
                         the folder, holding every file below it
  --sizes FILE           items from lines "SIZE NAME" ("-": standard input);
                         SIZE is a whole number of bytes in digits; every
                         line is one item, even when its name repeats; the
                         files need not exist
  --save FILE.mtb        keep the project with its results; a symbolic link
                         is followed and its target written
  --force                let --save replace a file that holds no project
                         (never a folder or a device)

export options (the media are named PROJECT_01, PROJECT_02, ...; each file
keeps its path below the folder that all placed files share):
  --format links         a folder per medium with a hard link to each file (a
                         symbolic link across file systems) and a SHA256SUMS
                         that `sha256sum -c` checks inside the folder
  --format lists         a PROJECT_NN.pathlist per medium for xorriso
                         -pathspecs on -path-list
  --format iso           a PROJECT_NN.iso per medium, made by xorriso (Rock
                         Ridge and Joliet) with the files and their
                         SHA256SUMS, and PROJECT_NN.iso.sha256 beside it; an
                         image larger than the project's media size fails
  --format catalog       PROJECT_catalog.csv: medium,path,size of every file
  --to DIR               where to write (default: the project's folder)
  --force                replace what an earlier export wrote there

run options (plan and run; an option not given comes from the settings file
named below, as for a new project):
  --media-size TEXT      capacity of one medium: bytes or a size preset name
  --tolerance BYTES      a medium within this much of its capacity is done
                         (with --media-size alone: a thousandth of it)
  --media-count N        fill at most N media
  --max-items N          at most N items on one medium
  --min-items N          a medium must hold more than N items
  --method NAME          fewest: the whole collection on as few media as it
                         can, every medium but the last as full as it can;
                         sequential: medium after medium, each taking the
                         combination that comes closest to the capacity
  --fast, --no-fast      fast search on or off (sequential)
  --medium-time-limit S  end a medium's search after S seconds with the best
                         combination found so far (sequential; 0: no limit;
                         default from the settings file)
  --fs-allowance NAME    iso9660: leave room on every medium for an ISO 9660
                         file system with Rock Ridge and Joliet (files in
                         whole sectors, directories, descriptors), so that
                         the export's images fit; none: the files' bytes
                         fill the capacity
  --force                replace what the after-run action wrote before

After a run that ended normally (run, and plan with --save) the project's
after-run action (AfterRun and AfterPath in the settings file: 1 link
folders, 2 path lists, 3 ISO images, into the folder AfterPath) is carried
out as export would; what it writes is named on standard error.

output:
  --json                 one JSON object on standard output; sizes are whole
                         numbers, and a byte of a name that is not UTF-8 is
                         written as \udcXX (XX: the byte in hex)
  --verbose, -v          list the items of every medium; in this list
                         control characters and backslashes of names are
                         written as escapes (\n, \t, \x1b, \\)

Exit status: 0 when the run ended normally, also when it could place nothing
(the reason is then written to standard error as well); 1 when it failed (the
reason on standard error; --json still writes its object, with "completed":
false), a file could not be read, or --save would replace what it must not;
2 when the command line is wrong. export, and the after-run action, exit with
1 and write nothing when a file is missing, an output exists already,
xorriso is missing or fails, or an image does not fit.
)";
}

}  // namespace zv
