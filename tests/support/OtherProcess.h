#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace zv::test {

// A second process that does `hold` (takes a lock, opens a transaction), says
// whether it holds, and keeps what it holds until End or the object's end.
class OtherProcess {
  public:
    explicit OtherProcess(const std::function<bool()>& hold) {
        int ready[2], release[2];
        if (pipe(ready) != 0 || pipe(release) != 0)
            return;
        if ((pid_ = fork()) == 0) {
            close(release[1]);
            char held = hold() ? 'y' : 'n';
            static_cast<void>(write(ready[1], &held, 1));
            static_cast<void>(read(release[0], &held, 1));
            _exit(0);
        }
        close(ready[1]);
        close(release[0]);
        char held = 'n';
        holding_ = read(ready[0], &held, 1) == 1 && held == 'y';
        close(ready[0]);
        release_ = release[1];
    }
    ~OtherProcess() { End(); }
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;

    bool Holding() const { return holding_; }
    void End() {
        if (pid_ > 0) {
            close(release_);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool holding_ = false;
};

}  // namespace zv::test
