#include "core/project/ExportRequest.h"

#include <filesystem>

#include "core/platform/UiServices.h"
#include "core/settings/SizeFromText.h"
#include "core/strings/StringTable.h"

namespace fs = std::filesystem;

namespace zv {

namespace {

constexpr int kTitle = 41171;  // "書き出し"
constexpr int kLinksCaption = 41173;  // "ﾒﾃﾞｨｱごとのﾌｫﾙﾀﾞ (ﾌｧｲﾙへのﾘﾝｸとSHA256SUMS)"
constexpr int kListsCaption = 41174;  // "ﾒﾃﾞｨｱごとのﾊﾟｽﾘｽﾄ (xorriso・genisoimage用)"
constexpr int kIsoCaption = 41187;  // "ﾒﾃﾞｨｱごとのISOｲﾒｰｼﾞ (xorrisoで作成)"
constexpr int kCatalogCaption = 41175;  // "全ﾒﾃﾞｨｱのﾌｧｲﾙ目録 (CSV)"
constexpr int kExistsAlready = 41181;  // "次のﾌｧｲﾙまたはﾌｫﾙﾀﾞは既に存在します\r\n"
constexpr int kReplace = 41182;  // "書き出し先の同じ名前のものをすべて上書きしますか？"
constexpr int kFailed = 41183;   // "書き出しに失敗しました\r\n"
constexpr int kWritten = 41184;  // "次のﾌｫﾙﾀﾞに書き出しました\r\n"
constexpr int kMore = 41185;     // "ほか%1個"

// The box after an export names this many outputs and counts the rest.
constexpr std::size_t kNamesShown = 5;

std::string Name(const std::string& path) {
    return fs::path(path).filename().string();
}

// The outputs' names, a line each, the rest counted on a last line.
std::string NameLines(const std::vector<std::string>& paths) {
    std::string lines;
    for (std::size_t i = 0; i < paths.size() && i < kNamesShown; ++i)
        lines += Name(paths[i]) + "\r\n";
    if (paths.size() > kNamesShown) {
        std::string more = ResString(kMore);
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
        {ExportFormat::Links, kLinksCaption},
        {ExportFormat::Lists, kListsCaption},
        {ExportFormat::Iso, kIsoCaption},
        {ExportFormat::Catalog, kCatalogCaption},
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
    std::vector<std::string> written;
    bool replace = false;
    for (;;) {
        try {
            const WatchEnds ends{watcher};
            written = ExportMedia(items, project, request.folder, request.format, replace, progress,
                                  capacity);
            break;
        } catch (const ExportExists& error) {
            if (ShowMessage(
                    ResString(kExistsAlready) + Name(error.Path()) + "\r\n" + ResString(kReplace),
                    ResString(kTitle), MsgButtons::YesNo, MsgIcon::Exclamation,
                    1) != MsgResult::Yes)
                return ExportOutcome::Declined;
            replace = true;
        } catch (const ExportCancelled&) {
            return ExportOutcome::Cancelled;
        } catch (const MediumExportError& error) {
            ShowMessage(ResString(kFailed) + error.what(), ResString(kTitle), MsgButtons::OK,
                        MsgIcon::Critical);
            return ExportOutcome::Failed;
        }
    }
    ShowMessage(ResString(kWritten) + request.folder + "\r\n" + NameLines(written),
                ResString(kTitle), MsgButtons::OK, MsgIcon::Information);
    return ExportOutcome::Written;
}

}  // namespace zv
