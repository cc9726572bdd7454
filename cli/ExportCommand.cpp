#include "cli/ExportCommand.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <set>

#include "cli/LeftOutReport.h"
#include "cli/StopSignals.h"
#include "cli/WorkProgress.h"
#include "core/project/MediumExport.h"
#include "core/project/PlacedEntry.h"

namespace fs = std::filesystem;

namespace zv {

int ExportCommand(const CliOptions& options, const std::string& projectPath,
                  const ProjectData& project) {
    const fs::path file = fs::absolute(projectPath);
    const std::string folder =
        options.exportFolder.empty() ? file.parent_path().string() : options.exportFolder;

    // Named before the work, so that nobody burns the media thinking them whole;
    // the catalog and the manifest name them as well.
    const LeftOutReport leftOut(project.items, project.settings,
                                MediaBytes(project.settings.MediaSize));
    leftOut.Write(std::cerr);

    std::set<int> media;
    double bytes = 0;
    for (const ProjectItem& item : project.items) {
        if (item.medium <= 0)
            continue;
        media.insert(item.medium);
        for (const ProjectMember& member : item.members)
            bytes += member.size;
    }
    WorkProgress line(options.quiet);
    const auto count = static_cast<double>(std::max<size_t>(media.size(), 1));
    const ExportProgress progress{
        [&](const std::string& output, double done) {
            // Every medium takes the same share of the outputs, in order.
            const int medium =
                std::min(static_cast<int>(done * count) + 1, static_cast<int>(count));
            line.Show("medium " + std::to_string(medium) + " of " +
                          std::to_string(static_cast<int>(count)) + " (" + output + ")",
                      done, static_cast<uintmax_t>(bytes));
        },
        [] { return StopSignals::Received() == 0; }};
    const ExportOptions exportOptions{file.string(), options.copy, [&](const std::string& notice) {
                                          line.Clear();
                                          std::cerr << "zarvopack-cli: " << notice << '\n';
                                      }};
    std::vector<std::string> written;
    try {
        written =
            ExportMedia(project.items, file.stem().string(), folder, *options.format, options.force,
                        progress, MediaBytes(project.settings.MediaSize), exportOptions);
    } catch (const ExportCancelled&) {
        line.Clear();
        StopSignals::Check();
        throw;
    }
    line.Clear();
    for (const std::string& path : written)
        std::cout << path << '\n';
    return leftOut.ExitStatus(options.allowUnplaced);
}

}  // namespace zv
