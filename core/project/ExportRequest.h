#pragma once

#include <string>
#include <vector>

#include "core/project/MediumExport.h"
#include "core/project/ProjectDocument.h"

namespace zv {

// A format the desktop offers to export in and the string id of its caption.
struct ExportFormatChoice {
    ExportFormat format;
    int caption;
};

// Every format in the order the export dialog lists them.
const std::vector<ExportFormatChoice>& ExportFormatChoices();

// What the user chose to export: the format and the folder to write into.
struct ExportRequest {
    ExportFormat format = ExportFormat::Links;
    std::string folder;
};

// Only an absolute folder is taken: a relative one would land wherever the
// program happened to be started.
bool ExportFolderAccepted(const std::string& folder);

// The name the outputs are called after: the project file's name without its
// extension, or the caption of a project never saved.
std::string ExportProjectName(const ProjectDocument& document);

// Shows an export while it writes: how far it has come, whether the user
// wants it to go on, and its end, which comes before any box about it.
class ExportWatcher {
  public:
    virtual ~ExportWatcher() = default;
    // The output being written and how much of the whole is done (0 to 1).
    virtual void Progress(const std::string& output, double done) = 0;
    virtual bool KeepGoing() = 0;
    virtual void Ended() = 0;
};

enum class ExportOutcome { Written, Declined, Cancelled, Failed };

// Exports the document's media as asked. Outputs that are there already are
// replaced only when the user agrees; ISO images are checked against the
// project's media size. A failure is shown in a box, and so is what was
// written; a cancelled export shows nothing and leaves nothing.
ExportOutcome ExportResults(const ProjectDocument& document, const ExportRequest& request,
                            ExportWatcher* watcher = nullptr);

}  // namespace zv
