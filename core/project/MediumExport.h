#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "core/project/ProjectFile.h"

namespace zv {

// What an export of the media writes, per medium "<project>_NN":
//  Links:   a folder holding a hard link (a symbolic link across file systems)
//           to each member file at its path below the members' common folder,
//           with a SHA256SUMS file that `sha256sum -c` checks in that folder;
//  Lists:   "<project>_NN.pathlist" with the "/on/medium=/source" lines that
//           xorriso's -path-list takes with -pathspecs on;
//  Catalog: one "<project>_catalog.csv" of every placed file.
enum class ExportFormat { Links, Lists, Catalog };

// Why an export wrote nothing: the one path at fault and what is wrong there.
class MediumExportError : public std::runtime_error {
  public:
    MediumExportError(const std::string& path, const std::string& reason)
        : std::runtime_error("'" + path + "': " + reason), path_(path) {}

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// The deepest folder that holds every one of the (absolute) paths.
std::string CommonFolder(const std::vector<std::string>& paths);

// One side of a path list line ("on medium=source"): "\" and "=" escaped with "\".
std::string PathListSide(const std::string& text);

// One CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

// Writes the placed items' media into `target` and returns what it wrote.
// Everything is first built under "<name>.part" and only renamed into place
// once every medium is complete, so a failure (a missing file, a full disk)
// leaves no half-written output and the earlier output as it was. A medium's
// output that exists already is replaced only with `force`. The source files
// are only read. Throws MediumExportError.
std::vector<std::string> ExportMedia(const std::vector<ProjectItem>& items,
                                     const std::string& project, const std::string& target,
                                     ExportFormat format, bool force);

}  // namespace zv
