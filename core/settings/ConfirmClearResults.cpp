#include "core/settings/ConfirmClearResults.h"

#include "core/platform/UiServices.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr int kQuestion = 40031;
constexpr int kTitle = 40032;

}  // namespace

bool ConfirmClearResults() {
    return ShowMessage(ResString(kQuestion), ResString(kTitle), MsgButtons::OKCancel) ==
           MsgResult::OK;
}

}  // namespace zv
