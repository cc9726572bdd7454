#include "core/project/SaveProject.h"

#include <filesystem>
#include <optional>

#include "core/engine/ProjectFileMessage.h"
#include "core/platform/FileError.h"
#include "core/platform/UiServices.h"
#include "core/project/ProjectFile.h"
#include "core/project/TextCompare.h"
#include "core/settings/DialogFolder.h"
#include "core/settings/FileSystem.h"
#include "core/settings/ProgramPaths.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr const char* kProjectExtension = ".mtb";

// Asks for the file to save to until the user picks one (and agrees to
// replace it when it exists) or confirms giving up.
std::optional<std::string> AskTarget(const ProjectDocument& document) {
    FileDialogRequest dialog{ResString(text_id::ProjectFilesFilter) + "(*.mtb)|*.mtb|" +
                                 ResString(text_id::AllFilesFilter) + "(*.*)|*.*",
                             ExeBaseName() + ResString(text_id::SaveTitle),
                             DialogStartFolder(document.FilePath()) + "/" + document.Caption()};
    for (;;) {
        auto chosen = Ui().SaveFileDialog(dialog);
        // A name typed without an extension gets the project's, or the Open
        // dialog's filter would hide the file.
        if (chosen && std::filesystem::path(*chosen).extension().empty())
            *chosen += kProjectExtension;
        if (!chosen) {
            if (ShowMessage(ResString(text_id::AskCancelSave), ResString(text_id::CancelSaveTitle),
                            MsgButtons::YesNo, MsgIcon::None, 1) == MsgResult::Yes)
                return std::nullopt;
            continue;
        }
        RememberDialogFolder(*chosen);
        if (document.ReadOnly() && *chosen == document.FilePath()) {
            ShowMessage(ResString(text_id::SaveToReadOnlyRefused), ResString(text_id::ErrorTitle),
                        MsgButtons::OK, MsgIcon::Exclamation);
            continue;
        }
        if (!FileExists(*chosen))
            return chosen;
        if (ShowMessage(*chosen + "\r\n" + ResString(text_id::AskOverwrite),
                        ResString(text_id::OverwriteTitle), MsgButtons::OKCancel, MsgIcon::None,
                        1) == MsgResult::OK)
            return chosen;
        dialog.proposedName = *chosen;
    }
}

}  // namespace

std::string CaptionOfProjectPath(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    const std::size_t ending = std::char_traits<char>::length(kProjectExtension);
    if (name.size() >= ending &&
        SameTextIgnoringCase(std::string_view(name).substr(name.size() - ending),
                             kProjectExtension))
        name.resize(name.size() - ending);
    return name;
}

bool SaveProject(ProjectDocument& document, int16_t mode, bool keepCaption) {
    std::string target = document.FilePath();
    if (mode != kSaveToPath || target.empty() || document.ReadOnly()) {
        const auto chosen = AskTarget(document);
        if (!chosen)
            return false;
        target = *chosen;
    }

    Status failure;
    if (!ProjectFile::Write(target, document.ToProjectItems(), document.GetRunSettings(),
                            &failure)) {
        const int message = ProjectFileMessage(failure, text_id::UpdateFailed);
        // The general message says nothing of the cause: the file and the
        // system's error follow it.
        ShowMessage(ResString(message) +
                        (message == text_id::UpdateFailed ? "\r\n" + failure.message() : ""),
                    ResString(text_id::ErrorTitle), MsgButtons::OK, MsgIcon::Critical);
        return false;
    }
    if (failure.code() == FileError::NotSynced) {
        ShowMessage(ResString(text_id::SavedNotSynced) + failure.message(),
                    ResString(text_id::ErrorTitle), MsgButtons::OK, MsgIcon::Exclamation);
    }
    document.SetFilePath(target);
    document.SetReadOnly(false);
    document.SetModified(false);
    if (!keepCaption)
        document.SetCaption(CaptionOfProjectPath(target));
    return true;
}

}  // namespace zv
