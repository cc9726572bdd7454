#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/project/MediumExport.h"

namespace zv {

// What one export of a project wrote into its target folder, kept there as
// "<project>_<format>.manifest", so that a later export of the same project
// replaces and removes exactly that and nothing else. Paths are relative to
// the target; a folder ends in "/" and comes before what it holds.
struct ExportManifest {
    std::string project;  // the project file the export came from, else its name
    ExportFormat format = ExportFormat::Links;
    std::vector<std::string> written;
    // The members that are on no medium, so the target says what it lacks.
    std::vector<std::string> unplaced;

    static std::string FileName(const std::string& project, ExportFormat format);

    std::string Text() const;
    // nullopt for a text that is no manifest.
    static std::optional<ExportManifest> Parse(const std::string& text);
};

}  // namespace zv
