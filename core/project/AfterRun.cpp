#include "core/project/AfterRun.h"

#include <algorithm>
#include <filesystem>

#include "core/settings/SizeFromText.h"

namespace zv {

std::optional<ExportFormat> AfterRunFormat(int16_t afterRun) {
    switch (static_cast<AfterRunAction>(afterRun)) {
        case AfterRunAction::LinkFolders:
            return ExportFormat::Links;
        case AfterRunAction::PathLists:
            return ExportFormat::Lists;
        case AfterRunAction::IsoImages:
            return ExportFormat::Iso;
        case AfterRunAction::None:
            break;
    }
    return std::nullopt;
}

std::vector<std::string> PerformAfterRun(const std::vector<ProjectItem>& items,
                                         const std::string& project, const RunSettings& settings,
                                         bool force, const ExportProgress& progress) {
    const std::optional<ExportFormat> format = AfterRunFormat(settings.AfterRun);
    const bool placed = std::any_of(items.begin(), items.end(), [](const ProjectItem& item) {
        return item.medium > 0 && !item.members.empty();
    });
    if (!format || !placed)
        return {};
    // A name from a list of sizes stands for no file: read as a path it would
    // hand over whatever file of that name the current folder holds.
    for (const ProjectItem& item : items) {
        for (const ProjectMember& member : item.members) {
            if (item.medium > 0 && !std::filesystem::path(member.path).is_absolute())
                throw MediumExportError(member.path,
                                        "is a name, not a file's full path; the after-run "
                                        "export takes only files");
        }
    }
    // A relative folder would land wherever the program happened to be started.
    if (!std::filesystem::path(settings.AfterPath).is_absolute())
        throw MediumExportError(settings.AfterPath,
                                "the after-run folder must be given as a full path");
    const double capacity = *format == ExportFormat::Iso ? SizeFromText(settings.MediaSize) : 0;
    return ExportMedia(items, project, settings.AfterPath, *format, force, progress, capacity);
}

}  // namespace zv
