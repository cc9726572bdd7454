#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zv {

// How a child program ended.
struct ChildOutcome {
    // False when the program could not be started; startError says why (an
    // errno value: ENOENT when it is not installed).
    bool started = false;
    int startError = 0;
    // It was ended because the caller asked for it.
    bool cancelled = false;
    // Its exit status, or -1 when a signal ended it.
    int exitCode = -1;

    bool Succeeded() const { return started && !cancelled && exitCode == 0; }
};

// Runs a program, looked up in PATH, with its arguments (`command[0]` is the
// program), never through a shell, so no character of an argument means more
// than itself. It reads nothing on its standard input; every line it writes
// on its standard output or error goes to `onLine` as it comes. `keepGoing`
// is asked at least every tenth of a second; once it says no, the program is
// asked to end and, if it has not within a few seconds, killed. Returns when
// the program has ended.
ChildOutcome RunChild(const std::vector<std::string>& command,
                      const std::function<void(const std::string& line)>& onLine,
                      const std::function<bool()>& keepGoing);

}  // namespace zv
