#include "core/settings/ShowError.h"

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/settings/ProgramPaths.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// "ｴﾗｰ"
constexpr int kErrorCaption = 40021;
// "次のﾌｧｲﾙまたはｱﾄﾞﾚｽを開くﾌﾟﾛｸﾞﾗﾑが見つかりませんでした\r\n"
constexpr int kCannotOpen = 41108;

}  // namespace

void ShowError(int number, const std::string& description) {
    ShowMessage(description,
                ExeBaseName() + ResString(kErrorCaption) + " " + std::to_string(number));
}

void ShowError(const PlatformError& error) {
    ShowError(error.Number(), error.Description());
}

bool OpenOrReport(const std::string& pathOrAddress) {
    if (Ui().OpenWithAssociatedProgram(pathOrAddress))
        return true;
    ShowMessage(ResString(kCannotOpen) + pathOrAddress, "", MsgButtons::OK, MsgIcon::Exclamation);
    return false;
}

}  // namespace zv
