#include "core/project/CloseRequest.h"

#include "core/platform/UiServices.h"
#include "core/project/SaveProject.h"
#include "core/settings/AppState.h"
#include "core/settings/ProgramPaths.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// The save the user asked for before closing. A file that cannot be written
// where it is (read-only, say) may still be saved elsewhere; an untitled
// project was already asked where to go.
bool SaveBeforeClosing(ProjectDocument& document) {
    const bool hadPath = !document.FilePath().empty();
    if (SaveProject(document, kSaveToPath, false))
        return true;
    return hadPath && SaveProject(document, kSaveAs, false);
}

}  // namespace

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
        // The work goes only when the user said so: a save that failed or was
        // cancelled keeps the window.
        if (answer == MsgResult::Yes && !SaveBeforeClosing(document))
            return false;
    }
    document.ResetItems();
    return true;
}

}  // namespace zv
