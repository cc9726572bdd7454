#include "core/settings/ShowError.h"

#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/settings/ProgramPaths.h"
#include "core/strings/StringTable.h"

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
