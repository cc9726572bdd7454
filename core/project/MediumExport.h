#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/project/ProjectFile.h"

namespace zv {

// What an export of the media writes, per medium "<project>_NN", each file,
// empty folder and symbolic link at its path below the members' common
// folder, a link as a link:
//  Links:   a folder holding a hard link to each member file (a symbolic link
//           to it, or a copy, where the system refuses a hard link), with a
//           SHA256SUMS file that `sha256sum -c` checks in that folder;
//  Lists:   "<project>_NN.quoted_path_list", the medium for xorriso's
//           --quoted_path_list (see QuotedPathList);
//  Catalog: one "<project>_catalog.csv" of every member, placed or not;
//  Iso:     "<project>_NN.iso", an ISO 9660 image with Rock Ridge and Joliet
//           made by xorriso, holding the medium and its SHA256SUMS, with
//           "<project>_NN.iso.sha256" beside it.
// Beside them "<project>_<format>.manifest" records what the export wrote.
enum class ExportFormat { Links, Lists, Catalog, Iso };

// The format's name as the command line and the manifest write it ("links",
// "lists", "catalog", "iso"), and the format of such a name.
const char* FormatName(ExportFormat format);
std::optional<ExportFormat> FormatNamed(const std::string& name);

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

// What an export hears besides the plan and where to write it.
struct ExportOptions {
    // The project file the plan came from, which the manifest names as the
    // export's owner; empty: the project's name stands for it.
    std::string projectFile;
    // A file of a link folder that cannot be hard-linked (another user's file
    // under the system's protection of hard links, another file system) is
    // copied rather than linked symbolically.
    bool copyUnlinkable = false;
    // Hears, a sentence each, what the export did beyond writing its outputs:
    // files linked symbolically or copied, outputs only their owner may read,
    // outputs of the earlier export that it removed.
    std::function<void(const std::string&)> notice;
};

// One CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

// Writes the placed items' media into `target` and returns what it wrote.
// Everything is first built under "<name>.part" and only renamed into place
// once every medium is complete, so a failure (a missing file, a full disk, an
// image larger than `capacity`) leaves no half-written output and the earlier
// output as it was. An output that exists already is replaced only with
// `force`, and only when the manifest of the earlier export of the same
// project names it and all it holds; that export's outputs that this one does
// not write again are removed. Nothing else is ever removed: no source file,
// no project file, nothing the manifest does not name. Each output is made
// readable only by those who may read every file it holds. The source files
// are only read. Images are checked against `capacity` in bytes (0: not
// checked). Throws MediumExportError (ExportExists for an output there
// already), and ExportCancelled when `progress` cancels.
std::vector<std::string> ExportMedia(const std::vector<ProjectItem>& items,
                                     const std::string& project, const std::string& target,
                                     ExportFormat format, bool force,
                                     const ExportProgress& progress = {}, double capacity = 0,
                                     const ExportOptions& options = {});

}  // namespace zv
