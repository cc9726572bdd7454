#include "cli/CliOptions.h"

#include <cmath>

#include "core/engine/RunSettingCheck.h"
#include "core/project/ProjectDocument.h"
#include "core/settings/CapacityText.h"
#include "core/settings/SizePresets.h"
#include "core/settings/TextNumber.h"

namespace zv {

namespace {

// The largest count a run takes: one number below the items a project holds.
constexpr int kMaxCount = kMaxProjectItems - 1;

double NonNegativeNumber(const std::string& option, const std::string& text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value || *value < 0 || !std::isfinite(*value)) {
        throw UsageError(option + " needs a number of 0 or more, not '" + text + "'");
    }
    return *value;
}

int32_t Count(const std::string& option, const std::string& text) {
    const double value = NonNegativeNumber(option, text);
    if (value != std::floor(value) || value > kMaxCount) {
        throw UsageError(option + " needs a whole number from 0 to " + std::to_string(kMaxCount) +
                         ", not '" + text + "'");
    }
    return static_cast<int32_t>(value);
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
    } else if (command == "verify") {
        options.command = CliOptions::Command::Verify;
    } else if (command == "help" || command == "--help" || command == "-h") {
        return options;
    } else if (command == "--version") {
        options.command = CliOptions::Command::Version;
        return options;
    } else {
        throw UsageError("unknown command '" + command +
                         "' (plan, run, show, export, verify or help)");
    }

    const bool runs =
        options.command == CliOptions::Command::Plan || options.command == CliOptions::Command::Run;
    const bool exports = options.command == CliOptions::Command::Export;
    bool onlyPaths = false;
    for (size_t i = 1; i < args.size(); ++i) {
        std::string arg = args[i];
        if (onlyPaths || arg.size() < 2 || arg[0] != '-' || arg == "-") {
            if (arg.empty())
                throw UsageError("an empty path names no file");
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
            if (!inlineValue && i + 1 >= args.size())
                throw UsageError(arg + " needs a value");
            std::string given = inlineValue ? *inlineValue : args[++i];
            if (given.empty())
                throw UsageError(arg + " needs a value that is not empty");
            return given;
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
        } else if (arg == "--quiet" || arg == "-q") {
            flag();
            options.quiet = true;
        } else if (arg == "--allow-unplaced") {
            if (!exports && !runs)
                throw UsageError(arg + " is an option of plan, run and export");
            flag();
            options.allowUnplaced = true;
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
        } else if (arg == "--after-run") {
            if (options.command != CliOptions::Command::Run)
                throw UsageError(arg + " is an option of run");
            flag();
            options.afterRun = true;
        } else if (arg == "--force") {
            if (!exports && !runs && options.command != CliOptions::Command::Show)
                throw UsageError(arg + " is an option of plan, run, show and export");
            flag();
            options.force = true;
        } else if (arg == "--format") {
            exportOption();
            const std::string name = value();
            options.format = FormatNamed(name);
            if (!options.format)
                throw UsageError("--format needs links, lists, iso or catalog, not '" + name + "'");
        } else if (arg == "--to") {
            exportOption();
            options.exportFolder = value();
        } else if (arg == "--copy") {
            exportOption();
            flag();
            options.copy = true;
        } else if (arg == "--medium") {
            if (options.command != CliOptions::Command::Verify)
                throw UsageError(arg + " is an option of verify");
            const int32_t medium = Count(arg, value());
            if (medium == 0)
                throw UsageError("--medium needs a medium number from 1");
            options.medium = medium;
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
    } else if (options.command == CliOptions::Command::Verify) {
        if (options.paths.size() != 2)
            throw UsageError("verify needs a project file and a medium: a folder or an image");
    } else if (options.paths.size() != 1) {
        throw UsageError(args[0] + " needs exactly one project file");
    }
    if (exports && !options.format)
        throw UsageError("export needs --format links, lists, iso or catalog");
    return options;
}

double MediaBytes(const std::string& mediaSize) {
    return ReadCapacity(mediaSize).value_or(0);
}

std::string CapacityNote(const RunSettings& settings) {
    const std::string& text = settings.MediaSize;
    if (ParseNumber(text))
        return {};
    for (const SizePreset& preset : ReadSizePresets()) {
        if (preset.name == text)
            return {};
    }
    const std::optional<double> bytes = ParseCapacity(text);
    return bytes ? "media size '" + text + "': " + FormatGrouped(*bytes) + " bytes" : "";
}

void RequireRunSettings(const RunSettings& settings) {
    const std::optional<RunSettingRefusal> refusal = CheckRunSettings(settings);
    if (!refusal)
        return;
    const std::string& size = settings.MediaSize;
    switch (refusal->rule) {
        case RunSettingRule::CapacityUnknown: {
            std::string names;
            for (const SizePreset& preset : ReadSizePresets())
                names += (names.empty() ? "" : ", ") + ("'" + preset.name + "'");
            throw UsageError("the media size '" + size +
                             "' is neither a number of bytes, a capacity such as 4.7G or dvd, "
                             "nor a size preset" +
                             (names.empty() ? std::string() : " (presets: " + names + ")"));
        }
        case RunSettingRule::CapacityTooLarge:
            throw UsageError("the media size '" + size +
                             "' is more than any medium holds (at most 1P, 10^15 bytes)");
        case RunSettingRule::CapacityNotPositive:
            throw UsageError("the media size must be more than 0 bytes");
        case RunSettingRule::NoMediaCount:
            throw UsageError("the media count must not be 0");
        case RunSettingRule::NegativeTolerance:
            throw UsageError("the tolerance must be 0 bytes or more");
        case RunSettingRule::ToleranceTooLarge:
            throw UsageError("the tolerance must be smaller than the media size");
        case RunSettingRule::MinItemsNotBelowMax:
            throw UsageError("the minimum items must be smaller than the maximum items");
    }
}

const char* UsageText() {
    return R"(usage: zarvopack-cli plan [options] PATH...
       zarvopack-cli plan [options] --sizes FILE
       zarvopack-cli run [options] PROJECT.mtb
       zarvopack-cli show [--json] [--verbose] [--force] PROJECT.mtb
       zarvopack-cli export --format links|lists|iso|catalog [--to DIR]
                     [--force] [--copy] [--allow-unplaced] [--quiet] PROJECT.mtb
       zarvopack-cli verify [--medium N] [--quiet] PROJECT.mtb PATH
       zarvopack-cli --version

Divides files over as few media as it can, filling each medium as close to
its capacity as the search gets.

  plan    every file named, and every file below every folder named, is one
          item; a project is made of them and run
  run     runs on a saved project and keeps the results in it
  show    lists the items of each medium and the unplaced ones
  export  writes the placed files of a run project out per medium
  verify  compares a medium (a mounted disc, a folder, an ISO image) with the
          plan

What plan takes from a folder, as an archiver keeps it:
  regular files          each with its size
  symbolic links         the link itself (to a file, to a folder, or leading
                         nowhere), of size 0, never followed: a link to a
                         folder is not walked, and its medium recreates the
                         link (a link named on the command line that leads to
                         a folder is followed, as if the folder were named)
  empty folders          a folder in which nothing else became an item is an
                         item of its own, of size 0, and its medium recreates
                         it
  FIFOs, sockets and     no disc holds them: each is named on standard error
  devices                and skipped, and the command exits with 3

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

export options (the media are named PROJECT_01, PROJECT_02, ...; each file,
empty folder and symbolic link keeps its path below the folder that all placed
ones share; a link stays a link, never followed; any name Linux holds is
exported as it is):
  --format links         a folder per medium with a hard link to each file and
                         a SHA256SUMS that `sha256sum -c` checks inside the
                         folder; where the system refuses a hard link
                         (another user's file, another file system) a
                         symbolic link to the file, and standard error says so
  --copy                 copy such files instead of linking them symbolically
  --format lists         a PROJECT_NN.quoted_path_list per medium: make its
                         image with  xorriso -backslash_codes with_quoted_input
                         -as mkisofs -o IMAGE.iso -r -J -graft-points
                         --quoted_path_list PROJECT_NN.quoted_path_list
  --format iso           a PROJECT_NN.iso per medium, made by xorriso (Rock
                         Ridge and Joliet) with the files and their
                         SHA256SUMS, and PROJECT_NN.iso.sha256 beside it; an
                         image larger than the project's media size fails
  --format catalog       PROJECT_catalog.csv (UTF-8, LF): a header row, then
                         medium,path,kind,size,sha256,link_target of every
                         file, folder and link; the files on no medium last,
                         medium "unplaced", with their full paths; names
                         escaped as in --json (\n, \\, \udcXX for a byte
                         that is not UTF-8)
  --to DIR               where to write (default: the project's folder)
  --force                replace what the earlier export of this project
                         wrote there, as its manifest names it, and remove
                         its outputs that this export does not write again;
                         nothing else is ever replaced or removed
  --quiet, -q            no progress line on standard error
Beside the outputs, PROJECT_FORMAT.manifest records what the export wrote,
for which project, and the files on no medium; those files are also named
on standard error. Each output is made readable only by those who may read
every file it holds (0600 when it holds a file others may not read), and
standard error says so.

verify options:
  --medium N             the medium of the plan PATH holds (default: the
                         medium whose paths PATH holds most of)
  --quiet, -q            no progress line on standard error
verify reads PATH as it is: a folder or mounted disc directly, an ISO image
through xorriso (unpacked into a temporary folder, which needs room for it).
It names every file, empty folder or link that is missing, extra, of another
kind, or differs in size or SHA-256 from its source file, on standard output;
where a source file has gone, its planned size and the SHA256SUMS on the
medium stand for it.

run options (plan and run; an option not given comes from the settings file
named below, as for a new project):
  --media-size TEXT      capacity of one medium: bytes, a size preset name, a
                         number with a unit (700M, 4.7G, 25GB; k, M, G, T, P
                         count in powers of 1000 as disc makers do, G = 10^9;
                         KiB, MiB, GiB, TiB in powers of 1024), or a disc:
                         cd 737,280,000, dvd 4,700,372,992, dvd-dl
                         8,543,666,176, bd 25,025,314,816, bd-dl
                         50,050,629,632 bytes; at most 1P (10^15 bytes). What
                         a size with a unit or a disc's name comes to is
                         written to standard error
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
  --force                replace what the after-run action wrote before;
                         also load a project whose contents do not match its
                         checksum (show, run and export)
  --allow-unplaced       items on no medium and entries skipped are still
                         named, but the exit status stays 0 (also for export)
  --after-run            (run) carry out the after-run action stored in the
                         project, and remember it as confirmed for this file

After a run that ended normally (run, and plan with --save) the project's
after-run action (AfterRun and AfterPath in the settings file: 1 link
folders, 2 path lists, 3 ISO images, into the folder AfterPath) is carried
out as export would; what it will write is named on standard error first.
A project's action is carried out by run only once it was confirmed for
that file on this machine: with --after-run, by plan --save from the
settings file, or in the desktop program's run settings.

output:
  --json                 one JSON object on standard output; sizes are whole
                         numbers, and a byte of a name that is not UTF-8 is
                         written as \udcXX (XX: the byte in hex)
  --verbose, -v          list the items of every medium; in this list
                         control characters and backslashes of names are
                         written as escapes (\n, \t, \x1b, \\)
  --quiet, -q            no progress lines and no notes on standard error;
                         warnings and errors stay (progress is shown only
                         when standard error is a terminal)

Every item a plan leaves on no medium is named on standard error with the
reason: larger than a medium (with --fs-allowance iso9660: with its file
system's room), the media count reached, or the items of a medium limited
by --min-items and --max-items. With --json each medium also gives its
capacity, free bytes and fill (0 to 1), "totals" the items, bytes, media and
what is on no medium, and each unplaced item its "reason".

Project files: this build reads layout versions 0 and 1 and writes 1
(PRAGMA user_version); builds before version 1 read a version-1 file's items,
settings and plan but not its checksum, and no build reads a later version.

Exit status:
  0    done: every item is on a medium (a run that ended normally)
  1    failed: a file could not be read, --save would replace what it must
       not, the run failed (--json still writes its object, with
       "completed": false), or export could not write its media (a file is
       missing, an output exists already, xorriso is missing or fails, an
       image does not fit); export then writes nothing
       (verify: the medium is not exactly as planned, or cannot be read)
  2    the command line is wrong (also: no command at all)
  3    done, but something is on no medium: plan and run left items
       unplaced, plan skipped entries no disc holds, or export wrote a plan
       with unplaced items; each is named on standard error (0 with
       --allow-unplaced)
  130  stopped by Ctrl+C (143: SIGTERM); what was begun is cleared away
)";
}

}  // namespace zv
