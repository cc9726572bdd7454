#include "shell/ShowError.h"

#include "platform/PlatformError.h"
#include "platform/UiServices.h"
#include "resources/StringTable.h"
#include "shell/ProgramPaths.h"

namespace zv {

namespace {

// "ｴﾗｰ"
constexpr int kErrorCaption = 40021;

}  // namespace

void ShowError(int number, const std::string& description) {
    ShowMessage(description,
                ExeBaseName() + ResString(kErrorCaption) + " " + std::to_string(number));
}

void ShowError(const PlatformError& error) {
    ShowError(error.Number(), error.Description());
}

}  // namespace zv
