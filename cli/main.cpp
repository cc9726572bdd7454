// zarvopack-cli: the packing engine without a screen. It makes or opens a
// project file, runs the same engine on it as the desktop program, and reports
// the media.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/ConsoleUi.h"
#include "cli/ItemCollector.h"
#include "cli/ProjectRun.h"
#include "cli/ReportWriter.h"
#include "cli/SaveTarget.h"
#include "core/platform/PlatformError.h"
#include "core/project/DefaultRunSettings.h"
#include "core/project/MediumExport.h"
#include "core/project/ProjectFile.h"
#include "core/settings/SizePresets.h"
#include "core/settings/TextNumber.h"

namespace fs = std::filesystem;

namespace zv {
namespace {

// The command line's medium time limit, else the settings file's; the file is
// read only when the command line gives none.
double MediumTimeLimit(const CliOptions& options) {
    return options.mediumTimeLimit ? *options.mediumTimeLimit : LoadMediumTimeLimit();
}

RunSettings NewProjectSettings() {
    RunSettings& defaults = DefaultRunSettings();
    if (!LoadDefaultRunSettings(defaults)) {
        throw Failure("the settings file zarvopack.dat holds a value that does not convert");
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

int Finish(const CliOptions& options, const std::vector<ProjectItem>& items,
           const RunSettings& settings, const RunOutcome& outcome) {
    Write(options, {items, MediaBytes(settings.MediaSize), outcome.completed, outcome.message,
                    &outcome.reports});
    // The reason goes to standard error in every output mode, so that a script
    // reading only the JSON or only the exit status hears of it as well.
    if (!outcome.completed || outcome.message) {
        std::cerr << "zarvopack-cli: "
                  << (outcome.message ? OneLine(outcome.message->text) : "the run failed") << '\n';
    }
    return outcome.completed ? 0 : 1;
}

std::string TemporaryProjectPath() {
    return (fs::temp_directory_path() / ("zarvopack-" + std::to_string(getpid()) + ".mtb"))
        .string();
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

int Plan(const CliOptions& options) {
    const RunSettings settings = options.Apply(NewProjectSettings());
    CheckRunSettings(settings);
    // Refused before the items are gathered, so no search is spent on a plan
    // that could not be kept.
    const bool keep = !options.savePath.empty();
    const std::string project = keep ? SaveTarget(options.savePath) : TemporaryProjectPath();
    if (keep)
        CheckReplaceable(project, options.force);

    ItemCollector collector(options.groupFolders);
    if (options.sizesFile) {
        if (*options.sizesFile == "-") {
            collector.AddSizeList(std::cin, "standard input");
        } else {
            AddSizeFile(collector, *options.sizesFile);
        }
    }
    for (const std::string& path : options.paths)
        collector.AddPath(path);
    std::vector<ProjectItem> items = collector.Items();
    if (items.empty())
        throw Failure("nothing to plan: no files were found");

    const RunOutcome outcome = RunProject(project, items, settings, MediumTimeLimit(options));
    if (!keep) {
        std::error_code ignored;
        fs::remove(project, ignored);
    }
    return Finish(options, items, settings, outcome);
}

ProjectData ReadProject(const std::string& path) {
    if (!fs::is_regular_file(path))
        throw Failure("'" + path + "' is not a file");
    std::optional<ProjectData> project;
    try {
        project = ProjectFile::Read(path, NewProjectSettings());
    } catch (const ProjectFileError& error) {
        throw Failure("'" + path + "' is not a readable project: " + error.Detail());
    } catch (const PlatformError& error) {
        throw Failure("'" + path + "' is not a readable project: " + error.Description());
    }
    if (!project)
        throw Failure("'" + path + "' is not a project file");
    return *project;
}

int Run(const CliOptions& options) {
    // The run saves into the project and puts its work database in the
    // project's place; through a link that must reach the link's target.
    const std::string path = SaveTarget(options.paths[0]);
    ProjectData project = ReadProject(path);
    // Sizes come from the files as they are now, as when the desktop program
    // loads a project; a file that has gone keeps the size it was saved with.
    // A name from a size list is no path of a file (it is relative), so its
    // item keeps the size the list gave, whatever lies in the current folder.
    for (ProjectItem& item : project.items) {
        for (ProjectMember& member : item.members) {
            if (!fs::path(member.path).is_absolute())
                continue;
            std::error_code error;
            const auto size = fs::file_size(member.path, error);
            if (!error)
                member.size = static_cast<double>(size);
        }
    }
    const RunSettings settings = options.Apply(project.settings);
    CheckRunSettings(settings);
    const RunOutcome outcome = RunProject(path, project.items, settings, MediumTimeLimit(options));
    return Finish(options, project.items, settings, outcome);
}

int Show(const CliOptions& options) {
    const ProjectData project = ReadProject(options.paths[0]);
    Write(options,
          {project.items, MediaBytes(project.settings.MediaSize), true, std::nullopt, nullptr});
    return 0;
}

int Export(const CliOptions& options) {
    const fs::path project = fs::absolute(options.paths[0]);
    const std::vector<ProjectItem> items = ReadProject(project.string()).items;
    const std::string folder =
        options.exportFolder.empty() ? project.parent_path().string() : options.exportFolder;
    for (const std::string& written :
         ExportMedia(items, project.stem().string(), folder, *options.format, options.force))
        std::cout << written << '\n';
    return 0;
}

int Main(const std::vector<std::string>& args) {
    ConsoleUi ui;
    try {
        const CliOptions options = ParseCommandLine(args);
        switch (options.command) {
            case CliOptions::Command::Help:
                std::cout << UsageText();
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
                return Export(options);
        }
    } catch (const UsageError& error) {
        std::cerr << "zarvopack-cli: " << error.what() << " (see zarvopack-cli --help)\n";
        return 2;
    } catch (const PlatformError& error) {
        std::cerr << "zarvopack-cli: error " << error.Number() << ": " << error.Description()
                  << '\n';
    } catch (const std::exception& error) {
        std::cerr << "zarvopack-cli: " << error.what() << '\n';
    }
    return 1;
}

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
    return zv::Main({argv + 1, argv + argc});
}
