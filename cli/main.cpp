// zarvopack-cli: the packing engine without a screen. It makes or opens a
// project file, runs the same engine on it as the desktop program, and reports
// the media.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/AfterRunStep.h"
#include "cli/CliOptions.h"
#include "cli/ConsoleUi.h"
#include "cli/ExitStatus.h"
#include "cli/ExportCommand.h"
#include "cli/ItemCollector.h"
#include "cli/LeftOutReport.h"
#include "cli/ProgressLine.h"
#include "cli/ProjectRun.h"
#include "cli/ReportWriter.h"
#include "cli/SaveTarget.h"
#include "cli/StopSignals.h"
#include "cli/TakenRunSettings.h"
#include "cli/VerifyCommand.h"
#include "core/db/ProjectSideFiles.h"
#include "core/platform/PlatformError.h"
#include "core/project/AfterRun.h"
#include "core/project/DefaultRunSettings.h"
#include "core/project/MediumExport.h"
#include "core/project/ProjectFile.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/SettingsValueError.h"
#include "core/settings/SizePresets.h"
#include "core/settings/TextNumber.h"

namespace fs = std::filesystem;

namespace zv {
namespace {

// The command line's medium time limit, else the settings file's; the file is
// read only when the command line gives none.
double MediumTimeLimit(const CliOptions& options) {
    return options.mediumTimeLimit ? *options.mediumTimeLimit : ReadMediumTimeLimit();
}

std::string SettingsMessage(const SettingsValueError& error) {
    if (error.Value()) {
        return "the settings file '" + error.File() +
               "' holds a value that does not convert: " + error.Where();
    }
    return "cannot read the settings file '" + error.File() + "' (" + error.ReadError() + ") for " +
           error.Where();
}

// Whether the command needs this key's value from the settings file. A plan
// needs every run setting that the command line does not replace (a media
// size brings its own tolerance); a run needs only the fast mode, which a
// project does not keep; show and export need none.
bool NeedsFromSettings(const CliOptions& options, const std::string& key) {
    namespace keys = settings_keys;
    if (options.command == CliOptions::Command::Run)
        return key == keys::MaxSpeed.name && !options.fast;
    if (options.command != CliOptions::Command::Plan)
        return false;
    if (key == keys::MediaSize.name)
        return !options.mediaSize;
    if (key == keys::DiffSize.name)
        return !options.mediaSize && !options.tolerance;
    if (key == keys::MediaNum.name)
        return !options.mediaCount;
    if (key == keys::MaxFile.name)
        return !options.maxItems;
    if (key == keys::MinFile.name)
        return !options.minItems;
    if (key == keys::MaxSpeed.name)
        return !options.fast;
    if (key == keys::Method.name)
        return !options.method;
    if (key == keys::FsAllowance.name)
        return !options.fsAllowance;
    // Only a plan that is kept has an after-run action.
    if (key == keys::AfterRun.name || key == keys::AfterPath.name)
        return !options.savePath.empty();
    return false;
}

// The defaults of a new project. A value of the settings file that does not
// convert, or a file that cannot be read, fails the command only where the
// command takes the value from it.
RunSettings NewProjectSettings(const CliOptions& options) {
    RunSettings& defaults = DefaultRunSettings();
    for (const SettingsValueError& failure : ReadDefaultRunSettings(defaults)) {
        if (NeedsFromSettings(options, failure.Key()))
            throw Failure(SettingsMessage(failure));
    }
    return defaults;
}

void Write(const CliOptions& options, const Report& report) {
    if (options.json) {
        WriteJson(std::cout, report);
    } else {
        WriteTable(std::cout, report, options.verbose);
    }
}

// What a media size written with a unit comes to, before the run.
void NoteCapacity(const CliOptions& options, const RunSettings& settings) {
    if (const std::string note = CapacityNote(settings); !note.empty() && !options.quiet)
        std::cerr << "zarvopack-cli: " << note << '\n';
}

int Finish(const CliOptions& options, const std::vector<ProjectItem>& items,
           const RunSettings& settings, const RunOutcome& outcome,
           std::vector<ItemCollector::Skipped> skipped = {}) {
    const double capacity = MediaBytes(settings.MediaSize);
    // A run that did not end normally placed nothing; its items are not left
    // out by the plan.
    std::optional<LeftOutReport> leftOut;
    if (outcome.completed)
        leftOut.emplace(items, settings, capacity, std::move(skipped));
    Write(options, {items, capacity, outcome.completed, outcome.message, &outcome.reports,
                    leftOut ? &*leftOut : nullptr});
    // The reason goes to standard error in every output mode, so that a script
    // reading only the JSON or only the exit status hears of it as well.
    if (!outcome.completed || outcome.message) {
        std::cerr << "zarvopack-cli: "
                  << (outcome.message ? OneLine(outcome.message->text) : "the run failed") << '\n';
    }
    if (outcome.afterPlacing)
        std::cerr << "zarvopack-cli: " << *outcome.afterPlacing << '\n';
    if (!leftOut)
        return exit_status::kFailed;
    leftOut->Write(std::cerr);
    return outcome.afterPlacing ? exit_status::kFailed : leftOut->ExitStatus(options.allowUnplaced);
}

void AddSizeFile(ItemCollector& collector, const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        throw UsageError("'" + path + "' does not exist");
    if (fs::is_directory(status))
        throw UsageError("'" + path + "' is a folder, not a list of sizes");
    std::ifstream list(path);
    if (!list)
        throw Failure("cannot read '" + path + "': " + std::strerror(errno));
    collector.AddSizeList(list, path);
    if (list.bad())
        throw Failure("cannot read '" + path + "' to its end");
}

// What the export hears between its steps: go on until a stop signal comes.
ExportProgress StopOnSignal() {
    return {{}, [] { return StopSignals::Received() == 0; }};
}

// The after-run action of the project, once its run ended normally.
void ActAfterRun(const CliOptions& options, const std::string& project,
                 const std::vector<ProjectItem>& items, const RunSettings& settings,
                 bool confirmed) {
    CarryOutAfterRun({project, items, settings, confirmed, options.force}, StopOnSignal());
}

int Plan(const CliOptions& options) {
    const RunSettings settings = options.Apply(NewProjectSettings(options));
    CheckTakenRunSettings(
        options, settings,
        "the settings file '" + SettingsFilePath() + "' [" + settings_keys::kRunDefaults + "]");
    // Refused before the items are gathered, so no search is spent on a plan
    // that could not be kept.
    const bool keep = !options.savePath.empty();
    const std::string project = keep ? SaveTarget(options.savePath) : std::string();
    if (keep)
        CheckReplaceable(project, options.force);

    ProgressLine progress(options.quiet);
    // A walk through a large tree can be stopped: nothing is written yet.
    ItemCollector collector(options.groupFolders, [&](std::size_t entries, double bytes) {
        StopSignals::Check();
        if (progress.Due()) {
            progress.Show("looking at the files: " + FormatGrouped(static_cast<double>(entries)) +
                          " entries, " + FormatGrouped(bytes) + " bytes");
        }
    });
    if (options.sizesFile) {
        if (*options.sizesFile == "-") {
            collector.AddSizeList(std::cin, "standard input");
        } else {
            AddSizeFile(collector, *options.sizesFile);
        }
    }
    for (const std::string& path : options.paths)
        collector.AddPath(path);
    progress.Clear();
    std::vector<ProjectItem> items = collector.Items();
    if (items.empty()) {
        LeftOutReport(items, settings, 0, collector.SkippedEntries()).Write(std::cerr);
        throw Failure("nothing to plan: no files were found");
    }

    StopSignals::Check();
    NoteCapacity(options, settings);
    // A plan that is not kept is never written.
    const RunOutcome outcome =
        keep ? RunProject(project, items, settings, MediumTimeLimit(options), options.quiet)
             : PlanItems(items, settings, MediumTimeLimit(options), options.quiet);
    if (!outcome.completed)
        StopSignals::Check();
    const int status = Finish(options, items, settings, outcome, collector.SkippedEntries());
    // The action of a new project comes from this machine's settings file.
    if (keep && outcome.completed && !outcome.afterPlacing)
        ActAfterRun(options, project, items, settings, true);
    return status;
}

// Only reads: nothing beside the file is touched.
ProjectData ReadProject(const std::string& path, const CliOptions& options) {
    if (!fs::is_regular_file(path))
        throw Failure("'" + path + "' is not a file");
    std::optional<ProjectData> project;
    try {
        project = ProjectFile::Read(path, NewProjectSettings(options), options.force);
    } catch (const ChecksumMismatchError& error) {
        throw Failure("'" + path + "': " + error.Detail() +
                      " (show, run and export load it as it is with --force)");
    } catch (const ProjectFileError& error) {
        throw Failure("'" + path + "' is not a readable project: " + error.Detail());
    } catch (const PlatformError& error) {
        throw Failure("'" + path + "' is not a readable project: " + error.Description());
    }
    if (!project)
        throw Failure("'" + path + "' is not a project file");
    if (project->checksumMismatch)
        std::cerr
            << "zarvopack-cli: '" << path
            << "': the file's contents do not match its checksum; loaded as it is (--force)\n";
    return *project;
}

int Run(const CliOptions& options) {
    // The run saves into the project and puts its work database in the
    // project's place; through a link that must reach the link's target.
    const std::string path = SaveTarget(options.paths[0]);
    // A project that a run of an earlier version moved aside and never put
    // back returns to its place first.
    static_cast<void>(RecoverProjectFile(path));
    ProjectData project = ReadProject(path, options);
    // Sizes come from the files as they are now, as when the desktop program
    // loads a project; a file that has gone keeps the size it was saved with.
    // A name from a size list is no path of a file (it is relative), so its
    // item keeps the size the list gave, whatever lies in the current folder.
    // A link or a folder is an item of size 0: its target's size is not its own.
    for (ProjectItem& item : project.items) {
        for (ProjectMember& member : item.members) {
            std::error_code error;
            if (!fs::path(member.path).is_absolute() ||
                !fs::is_regular_file(fs::symlink_status(member.path, error)))
                continue;
            const auto size = fs::file_size(member.path, error);
            if (!error)
                member.size = static_cast<double>(size);
        }
    }
    const RunSettings settings = options.Apply(project.settings);
    CheckTakenRunSettings(options, settings, "the project '" + path + "'");
    NoteCapacity(options, settings);
    StopSignals::Check();
    const RunOutcome outcome =
        RunProject(path, project.items, settings, MediumTimeLimit(options), options.quiet);
    // A stop that came after the results took the project's place changes nothing.
    if (!outcome.completed)
        StopSignals::Check();
    const int status = Finish(options, project.items, settings, outcome);
    if (outcome.completed && !outcome.afterPlacing)
        ActAfterRun(options, path, project.items, settings, options.afterRun);
    return status;
}

int Show(const CliOptions& options) {
    const ProjectData project = ReadProject(options.paths[0], options);
    const double capacity = MediaBytes(project.settings.MediaSize);
    const LeftOutReport leftOut(project.items, project.settings, capacity);
    Write(options, {project.items, capacity, true, std::nullopt, nullptr, &leftOut});
    return exit_status::kDone;
}

// The settings file in use, named at the end of --help.
std::string SettingsFileNote() {
    const SettingsLocation settings = SettingsFile();
    return "\nsettings file: " + settings.path +
           (settings.besideProgram ? " (beside the program: a portable copy)\n"
                                   : " (the user's own)\n");
}

// A user without a settings file gets the shipped defaults. Where that fails
// the command still runs, on the settings' built-in defaults.
void PrepareSettings() {
    if (const Status prepared = PrepareSettingsFile(); !prepared.ok())
        std::cerr << "zarvopack-cli: warning: " << prepared.message() << '\n';
}

int Main(const std::vector<std::string>& args) {
    ConsoleUi ui;
    StopSignals::Install();
    if (args.empty()) {
        std::cerr << UsageText();
        return exit_status::kUsage;
    }
    try {
        const CliOptions options = ParseCommandLine(args);
        if (options.command != CliOptions::Command::Help &&
            options.command != CliOptions::Command::Version)
            PrepareSettings();
        switch (options.command) {
            case CliOptions::Command::Help:
                std::cout << UsageText() << SettingsFileNote();
                return 0;
            case CliOptions::Command::Version:
                std::cout << "zarvopack-cli " << ZV_VERSION << '\n';
                return 0;
            case CliOptions::Command::Plan:
                return Plan(options);
            case CliOptions::Command::Run:
                return Run(options);
            case CliOptions::Command::Show:
                return Show(options);
            case CliOptions::Command::Export:
                return ExportCommand(options, options.paths[0],
                                     ReadProject(options.paths[0], options));
            case CliOptions::Command::Verify:
                return VerifyCommand(options, ReadProject(options.paths[0], options));
        }
    } catch (const Stopped& stopped) {
        std::cerr << "zarvopack-cli: " << stopped.what() << '\n';
        return stopped.ExitStatus();
    } catch (const UsageError& error) {
        std::cerr << "zarvopack-cli: " << error.what() << " (see zarvopack-cli --help)\n";
        return exit_status::kUsage;
    } catch (const SettingsValueError& error) {
        std::cerr << "zarvopack-cli: " << SettingsMessage(error) << '\n';
    } catch (const PlatformError& error) {
        std::cerr << "zarvopack-cli: error " << error.Number() << ": " << error.Description()
                  << '\n';
    } catch (const std::exception& error) {
        std::cerr << "zarvopack-cli: " << error.what() << '\n';
    }
    return exit_status::kFailed;
}

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
    return zv::Main({argv + 1, argv + argc});
}
