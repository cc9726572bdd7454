#include "desktop/dialogs/QueuedRunObserver.h"

#include <QMetaObject>
#include <thread>
#include <utility>

#include "desktop/dialogs/RunDialog.h"

namespace zv {

namespace {

constexpr auto kShowEvery = std::chrono::milliseconds(15);
// How long a paused run sleeps between looks at its requests.
constexpr auto kPauseWait = std::chrono::milliseconds(10);

// Runs `call` on the dialog's thread; a call still waiting when the dialog
// goes is dropped with it.
template <typename Call>
void Post(RunDialog* dialog, Call&& call) {
    QMetaObject::invokeMethod(dialog, std::forward<Call>(call), Qt::QueuedConnection);
}

}  // namespace

QueuedRunObserver::QueuedRunObserver(RunDialog& dialog) : dialog_(&dialog) {}

bool QueuedRunObserver::Due(Clock::time_point& shown) {
    const Clock::time_point now = Clock::now();
    if (now - shown < kShowEvery)
        return false;
    shown = now;
    return true;
}

void QueuedRunObserver::SendHeld() {
    RunDialog* dialog = dialog_;
    for (int bar = 0; bar < static_cast<int>(barsHeld_.size()); ++bar) {
        if (const std::optional<ProgressBarState> state = std::exchange(barsHeld_[bar], {}))
            Post(dialog, [dialog, bar, state = *state] { dialog->ShowProgress(bar, state); });
    }
    if (std::optional<std::string> text = std::exchange(detailHeld_, {}))
        Post(dialog, [dialog, text = std::move(*text)] { dialog->ShowDetail(text); });
}

void QueuedRunObserver::StatusChanged(const std::string& text) {
    SendHeld();
    RunDialog* dialog = dialog_;
    Post(dialog, [dialog, text] { dialog->ShowStatus(text); });
}

void QueuedRunObserver::ProgressChanged(int bar, const ProgressBarState& state) {
    const std::size_t at = static_cast<std::size_t>(bar);
    const ProgressBarState& shown = barsShown_[at];
    // A bar that appears, goes or gets a new range changes at once; a value
    // waits its turn, as does the end of the range.
    const bool reshaped =
        state.visible != shown.visible || state.min != shown.min || state.max != shown.max;
    if (!reshaped && !Due(barsStamp_[at])) {
        barsHeld_[at] = state;
        return;
    }
    if (reshaped)
        barsStamp_[at] = Clock::now();
    barsShown_[at] = state;
    barsHeld_[at].reset();
    RunDialog* dialog = dialog_;
    Post(dialog, [dialog, bar, state] { dialog->ShowProgress(bar, state); });
}

void QueuedRunObserver::PauseWait() {
    std::this_thread::sleep_for(kPauseWait);
}

void QueuedRunObserver::SearchRunning(bool running) {
    SendHeld();
    RunDialog* dialog = dialog_;
    Post(dialog, [dialog, running] { dialog->ShowSearchRunning(running); });
}

void QueuedRunObserver::DetailChanged(const std::string& text) {
    if (!Due(detailStamp_)) {
        detailHeld_ = text;
        return;
    }
    detailHeld_.reset();
    RunDialog* dialog = dialog_;
    Post(dialog, [dialog, text] { dialog->ShowDetail(text); });
}

}  // namespace zv
