#include "cli/StopSignals.h"

#include <signal.h>
#include <string.h>

#include <atomic>
#include <csignal>
#include <string>

namespace zv {

namespace {

volatile std::sig_atomic_t received = 0;
std::atomic<RunRequests*> currentRun = nullptr;

static_assert(std::atomic<RunRequests*>::is_always_lock_free, "read in a signal handler");

extern "C" void OnStopSignal(int signal) {
    if (received == 0)
        received = signal;
    if (RunRequests* run = currentRun.load())
        run->abort = true;
}

std::string SignalName(int signal) {
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : std::to_string(signal);
}

}  // namespace

Stopped::Stopped(int signal)
    : Stopped(signal, "before the command had finished; nothing it had begun was kept") {}

Stopped::Stopped(int signal, const std::string& state)
    : std::runtime_error("stopped by " + SignalName(signal) + " " + state), signal_(signal) {}

void StopSignals::Install() {
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int StopSignals::Received() {
    return received;
}

void StopSignals::Check() {
    if (received != 0)
        throw Stopped(received);
}

StopSignals::RunScope::RunScope(RunRequests& requests) {
    currentRun = &requests;
    // A signal that came before the run began stops it at once.
    if (received != 0)
        requests.abort = true;
}

StopSignals::RunScope::~RunScope() {
    currentRun = nullptr;
}

}  // namespace zv
