#include "core/project/CloseRequest.h"

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/project/SaveProject.h"
#include "core/settings/AppState.h"
#include "core/settings/FileSystem.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/ShowError.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

bool CloseRequest(ProjectDocument& document) {
    if (App().running) {
        ShowMessage(ResString(text_id::CannotCloseWhileRunning));
        return false;
    }
    if (!document.IsEmpty() && document.Modified()) {
        const MsgResult answer = ShowMessage(
            ResString(text_id::AskSaveLead) + document.Caption() + ResString(text_id::AskSaveTail),
            ExeBaseName() + ResString(text_id::AskSaveTitleTail), MsgButtons::YesNoCancel);
        if (answer == MsgResult::Cancel)
            return false;
        // A save that fails or is cancelled does not keep the window open.
        if (answer == MsgResult::Yes)
            SaveProject(document, kSaveToPath, false);
    }
    const std::string temporary = document.TemporaryProjectPath();
    try {
        // A project saved under that name is the user's file, not a leftover.
        if (document.FilePath() != temporary && FileExists(temporary))
            DeleteFile(temporary);
    } catch (const PlatformError& error) {
        ShowError(error);
    }
    document.ResetItems();
    return true;
}

}  // namespace zv
