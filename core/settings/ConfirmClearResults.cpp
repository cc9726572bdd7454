#include "core/settings/ConfirmClearResults.h"

#include "core/platform/UiServices.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

bool ConfirmClearResults() {
    return ShowMessage(ResString(text_id::AskClearResults), ResString(text_id::ClearResultsTitle),
                       MsgButtons::OKCancel) == MsgResult::OK;
}

}  // namespace zv
