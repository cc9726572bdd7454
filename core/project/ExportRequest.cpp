#include "core/project/ExportRequest.h"

#include <filesystem>

#include "core/platform/UiServices.h"
#include "core/project/UnplacedNotice.h"
#include "core/settings/SizeFromText.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace fs = std::filesystem;

namespace zv {

namespace {

// The box after an export names this many outputs and counts the rest.
constexpr std::size_t kNamesShown = 5;

std::string Name(const std::string& path) {
    return fs::path(path).filename().string();
}

// The names (or the full paths) of files, a line each, the rest counted on
// a last line.
std::string NameLines(const std::vector<std::string>& paths, bool fullPaths = false) {
    std::string lines;
    for (std::size_t i = 0; i < paths.size() && i < kNamesShown; ++i)
        lines += (fullPaths ? paths[i] : Name(paths[i])) + "\r\n";
    if (paths.size() > kNamesShown) {
        std::string more = ResString(text_id::ExportMoreCount);
        more.replace(more.find("%1"), 2, std::to_string(paths.size() - kNamesShown));
        lines += more + "\r\n";
    }
    return lines;
}

// The watcher's end comes when the export stops, however it stops.
struct WatchEnds {
    ExportWatcher* watcher;
    ~WatchEnds() {
        if (watcher != nullptr)
            watcher->Ended();
    }
};

ExportProgress ProgressFor(ExportWatcher* watcher) {
    if (watcher == nullptr)
        return {};
    return {[watcher](const std::string& output, double done) { watcher->Progress(output, done); },
            [watcher] { return watcher->KeepGoing(); }};
}

}  // namespace

const std::vector<ExportFormatChoice>& ExportFormatChoices() {
    static const std::vector<ExportFormatChoice> choices{
        {ExportFormat::Links, text_id::ExportLinksCaption},
        {ExportFormat::Lists, text_id::ExportListsCaption},
        {ExportFormat::Iso, text_id::ExportIsoCaption},
        {ExportFormat::Catalog, text_id::ExportCatalogCaption},
    };
    return choices;
}

bool ExportFolderAccepted(const std::string& folder) {
    return fs::path(folder).is_absolute();
}

std::string ExportProjectName(const ProjectDocument& document) {
    return document.FilePath().empty() ? document.Caption()
                                       : fs::path(document.FilePath()).stem().string();
}

ExportOutcome ExportResults(const ProjectDocument& document, const ExportRequest& request,
                            ExportWatcher* watcher) {
    const std::vector<ProjectItem> items = document.ToProjectItems();
    const std::string project = ExportProjectName(document);
    const double capacity =
        request.format == ExportFormat::Iso ? SizeFromText(document.GetRunSettings().MediaSize) : 0;
    const ExportProgress progress = ProgressFor(watcher);
    std::vector<std::string> notices;
    const ExportOptions options{document.FilePath(), false,
                                [&](const std::string& notice) { notices.push_back(notice); }};
    std::vector<std::string> written;
    bool replace = false;
    for (;;) {
        try {
            const WatchEnds ends{watcher};
            written = ExportMedia(items, project, request.folder, request.format, replace, progress,
                                  capacity, options);
            break;
        } catch (const ExportExists& error) {
            if (ShowMessage(ResString(text_id::ExportTargetsExist) + Name(error.Path()) + "\r\n" +
                                ResString(text_id::AskExportReplace),
                            ResString(text_id::ExportTitle), MsgButtons::YesNo,
                            MsgIcon::Exclamation, 1) != MsgResult::Yes)
                return ExportOutcome::Declined;
            replace = true;
        } catch (const ExportCancelled&) {
            return ExportOutcome::Cancelled;
        } catch (const MediumExportError& error) {
            ShowMessage(ResString(text_id::ExportFailed) + error.what(),
                        ResString(text_id::ExportTitle), MsgButtons::OK, MsgIcon::Critical);
            return ExportOutcome::Failed;
        }
    }
    // Items left off every medium are in no output: the box says which, and
    // why, as loudly as a warning.
    std::string text =
        ResString(text_id::ExportWritten) + request.folder + "\r\n" + NameLines(written);
    const std::string unplaced = UnplacedNotice(items, document.GetRunSettings());
    if (!unplaced.empty())
        text += "\r\n" + unplaced;
    if (!notices.empty()) {
        text += ResString(text_id::ExportNotices);
        for (const std::string& notice : notices)
            text += notice + "\r\n";
    }
    ShowMessage(text, ResString(text_id::ExportTitle), MsgButtons::OK,
                unplaced.empty() && notices.empty() ? MsgIcon::Information : MsgIcon::Exclamation);
    return ExportOutcome::Written;
}

}  // namespace zv
