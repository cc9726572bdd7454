// zarvopack-cli: the packing engine without a screen. It makes or opens a
// project file, runs the same engine on it as the desktop program, and reports
// the media.

#include <unistd.h>

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
#include "core/platform/PlatformError.h"
#include "core/project/DefaultRunSettings.h"
#include "core/project/ProjectFile.h"
#include "core/settings/SizePresets.h"
#include "core/settings/TextNumber.h"

namespace fs = std::filesystem;

namespace zv {
namespace {

// Run failures and unreadable projects end with 1, usage errors with 2.
class Failure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

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
    if (!outcome.completed && !options.json) {
        std::cerr << "zarvopack-cli: "
                  << (outcome.message ? OneLine(outcome.message->text) : "the run failed") << '\n';
    }
    return outcome.completed ? 0 : 1;
}

std::string TemporaryProjectPath() {
    return (fs::temp_directory_path() / ("zarvopack-" + std::to_string(getpid()) + ".mtb"))
        .string();
}

int Plan(const CliOptions& options) {
    const RunSettings settings = options.Apply(NewProjectSettings());
    CheckRunSettings(settings);

    ItemCollector collector(options.groupFolders);
    if (options.sizesFile) {
        if (*options.sizesFile == "-") {
            collector.AddSizeList(std::cin, "standard input");
        } else {
            std::ifstream list(*options.sizesFile);
            if (!list)
                throw UsageError("cannot read '" + *options.sizesFile + "'");
            collector.AddSizeList(list, *options.sizesFile);
        }
    }
    for (const std::string& path : options.paths)
        collector.AddPath(path);
    std::vector<ProjectItem> items = collector.Items();
    if (items.empty())
        throw Failure("nothing to plan: no files were found");

    const bool keep = !options.savePath.empty();
    const std::string project =
        fs::absolute(keep ? options.savePath : TemporaryProjectPath()).string();
    const RunOutcome outcome = RunProject(project, items, settings,
                                          options.mediumTimeLimit.value_or(LoadMediumTimeLimit()));
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
    } catch (const PlatformError& error) {
        throw Failure("'" + path + "' is not a readable project: " + error.Description());
    }
    if (!project)
        throw Failure("'" + path + "' is not a project file");
    return *project;
}

int Run(const CliOptions& options) {
    const std::string path = fs::absolute(options.paths[0]).string();
    ProjectData project = ReadProject(path);
    // Sizes come from the files as they are now, as when the desktop program
    // loads a project; a file that has gone keeps the size it was saved with.
    for (ProjectItem& item : project.items) {
        for (ProjectMember& member : item.members) {
            std::error_code error;
            const auto size = fs::file_size(member.path, error);
            if (!error)
                member.size = static_cast<double>(size);
        }
    }
    const RunSettings settings = options.Apply(project.settings);
    CheckRunSettings(settings);
    const RunOutcome outcome = RunProject(path, project.items, settings,
                                          options.mediumTimeLimit.value_or(LoadMediumTimeLimit()));
    return Finish(options, project.items, settings, outcome);
}

int Show(const CliOptions& options) {
    const ProjectData project = ReadProject(options.paths[0]);
    Write(options,
          {project.items, MediaBytes(project.settings.MediaSize), true, std::nullopt, nullptr});
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
