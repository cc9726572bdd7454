#include "core/settings/ShowError.h"

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/settings/ProgramPaths.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

void ShowError(int number, const std::string& description) {
    ShowMessage(description,
                ExeBaseName() + ResString(text_id::ErrorTitle) + " " + std::to_string(number));
}

void ShowError(const PlatformError& error) {
    ShowError(error.Number(), error.Description());
}

bool OpenOrReport(const std::string& pathOrAddress) {
    if (Ui().OpenWithAssociatedProgram(pathOrAddress))
        return true;
    ShowMessage(ResString(text_id::NoProgramToOpen) + pathOrAddress, "", MsgButtons::OK,
                MsgIcon::Exclamation);
    return false;
}

}  // namespace zv
