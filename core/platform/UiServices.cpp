#include "core/platform/UiServices.h"

#include "core/platform/HeadlessUi.h"

namespace zv {

namespace {

// Until the program installs its services nobody can answer.
HeadlessUi headless;
UiServices* current = &headless;

}  // namespace

MsgResult DefaultAnswer(MsgButtons buttons, int defaultButton) {
    switch (buttons) {
        case MsgButtons::OK:
            return MsgResult::OK;
        case MsgButtons::OKCancel:
            return defaultButton == 1 ? MsgResult::Cancel : MsgResult::OK;
        case MsgButtons::YesNo:
            return defaultButton == 1 ? MsgResult::No : MsgResult::Yes;
        case MsgButtons::YesNoCancel:
            return defaultButton == 2   ? MsgResult::Cancel
                   : defaultButton == 1 ? MsgResult::No
                                        : MsgResult::Yes;
        case MsgButtons::RetryCancel:
            return defaultButton == 1 ? MsgResult::Cancel : MsgResult::Retry;
    }
    return MsgResult::OK;
}

const std::string& AppTitle() {
    static const std::string title = "Zarvopack";
    return title;
}

UiServices& Ui() {
    return *current;
}

void SetUi(UiServices* services) {
    current = services ? services : &headless;
}

MsgResult ShowMessage(const std::string& text, const std::string& title, MsgButtons buttons,
                      MsgIcon icon, int defaultButton) {
    return Ui().MessageBox({text, title, buttons, icon, defaultButton});
}

}  // namespace zv
