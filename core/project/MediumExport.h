#pragma once

#include <exception>
#include <functional>
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
//           xorriso's -path-list takes with -pathspecs on ("=" in a name on
//           the medium escaped as "\=");
//  Catalog: one "<project>_catalog.csv" of every placed file;
//  Iso:     "<project>_NN.iso", an ISO 9660 image with Rock Ridge and Joliet
//           made by xorriso, holding the files as Links lays them out and
//           their SHA256SUMS, with "<project>_NN.iso.sha256" beside it.
enum class ExportFormat { Links, Lists, Catalog, Iso };

// Why an export wrote nothing: the one path at fault and what is wrong there.
class MediumExportError : public std::runtime_error {
  public:
    MediumExportError(const std::string& path, const std::string& reason)
        : std::runtime_error("'" + path + "': " + reason), path_(path) {}

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// An output is there already and the export was not allowed to replace it.
class ExportExists : public MediumExportError {
  public:
    explicit ExportExists(const std::string& path) : MediumExportError(path, "exists already") {}
};

// The export stopped because its caller asked it to; it wrote nothing.
class ExportCancelled : public std::exception {
  public:
    const char* what() const noexcept override { return "the export was cancelled"; }
};

// How an export tells its caller how far it has come, and hears whether to go
// on. Either may be left empty.
struct ExportProgress {
    // The name of the output being written and how much of the whole export
    // is done (0 to 1).
    std::function<void(const std::string& output, double done)> report;
    // Asked between files and while an image is written; false cancels.
    std::function<bool()> keepGoing;
};

// One CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

// Writes the placed items' media into `target` and returns what it wrote.
// Everything is first built under "<name>.part" and only renamed into place
// once every medium is complete, so a failure (a missing file, a full disk, an
// image larger than `capacity`) leaves no half-written output and the earlier
// output as it was. A medium's output that exists already is replaced only
// with `force`. The source files are only read. Images are checked against
// `capacity` in bytes (0: not checked). Throws MediumExportError (ExportExists
// for an output there already), and ExportCancelled when `progress` cancels.
std::vector<std::string> ExportMedia(const std::vector<ProjectItem>& items,
                                     const std::string& project, const std::string& target,
                                     ExportFormat format, bool force,
                                     const ExportProgress& progress = {}, double capacity = 0);

}  // namespace zv
