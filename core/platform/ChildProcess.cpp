#include "core/platform/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

extern char** environ;

namespace zv {

namespace {

constexpr int kPollMs = 100;
// How long a program asked to end may take before it is killed.
constexpr std::chrono::seconds kGrace{5};

class Spawn {
  public:
    Spawn() {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attributes_);
    }
    ~Spawn() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    Spawn(const Spawn&) = delete;
    Spawn& operator=(const Spawn&) = delete;

    // Starts the program writing into `output`; an errno value or 0.
    int Start(const std::vector<std::string>& command, int output, pid_t& pid) {
        posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions_, output, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions_, output, STDERR_FILENO);
        // The child starts with the signals as a fresh program has them,
        // whatever this process blocks or ignores.
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attributes_, &none);
        posix_spawnattr_setsigdefault(&attributes_, &all);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        std::vector<char*> argv;
        for (const std::string& arg : command)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        return posix_spawnp(&pid, argv[0], &actions_, &attributes_, argv.data(), environ);
    }

  private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

// Hands each complete line of what arrives to `onLine`.
class LineSplitter {
  public:
    explicit LineSplitter(const std::function<void(const std::string&)>& onLine)
        : onLine_(onLine) {}

    void Add(const char* data, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            if (data[i] == '\n' || data[i] == '\r') {
                Flush();
            } else {
                line_ += data[i];
            }
        }
    }
    void Flush() {
        if (!line_.empty() && onLine_)
            onLine_(line_);
        line_.clear();
    }

  private:
    const std::function<void(const std::string&)>& onLine_;
    std::string line_;
};

}  // namespace

ChildOutcome RunChild(const std::vector<std::string>& command,
                      const std::function<void(const std::string& line)>& onLine,
                      const std::function<bool()>& keepGoing) {
    ChildOutcome outcome;
    int pipeEnds[2];
    if (command.empty() || pipe2(pipeEnds, O_CLOEXEC) != 0) {
        outcome.startError = command.empty() ? ENOENT : errno;
        return outcome;
    }
    pid_t pid = 0;
    {
        Spawn spawn;
        outcome.startError = spawn.Start(command, pipeEnds[1], pid);
    }
    close(pipeEnds[1]);
    if (outcome.startError != 0) {
        close(pipeEnds[0]);
        return outcome;
    }
    outcome.started = true;

    LineSplitter lines(onLine);
    using Clock = std::chrono::steady_clock;
    Clock::time_point askedToEnd{};
    bool killed = false;
    for (;;) {
        if (!outcome.cancelled && keepGoing && !keepGoing()) {
            outcome.cancelled = true;
            askedToEnd = Clock::now();
            kill(pid, SIGTERM);
        }
        if (outcome.cancelled && !killed && Clock::now() - askedToEnd > kGrace) {
            killed = true;
            kill(pid, SIGKILL);
        }
        pollfd output{pipeEnds[0], POLLIN, 0};
        const int ready = poll(&output, 1, kPollMs);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        lines.Add(buffer, static_cast<size_t>(got));
    }
    lines.Flush();
    close(pipeEnds[0]);

    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

}  // namespace zv
