#pragma once

#include <cerrno>
#include <string>
#include <vector>

#include "core/platform/FileOps.h"

namespace zv::test {

// What a disk says when it is full, when it forbids a change, and when it breaks.
constexpr int kDiskErrors[] = {ENOSPC, EACCES, EIO};

// A disk that fails once: while it lives, the file-system calls of the program
// (and the writes and removals SQLite makes) go through it, and the one with
// the number `failAt` (counting from 1) fails with `error` without doing
// anything. Closing never fails. With a failAt beyond the last call it only
// counts, so a test can go through every call of an operation in turn.
class FaultyFiles : public FileOps {
  public:
    FaultyFiles(int failAt, int error);

    // The calls made so far, by name ("rename p.mtb.saving"), the failed one
    // included.
    const std::vector<std::string>& Calls() const { return calls_; }
    bool Failed() const { return static_cast<int>(calls_.size()) >= failAt_; }
    // The call that failed; empty before it.
    std::string FailedCall() const { return Failed() ? calls_[failAt_ - 1] : std::string(); }

    int Open(const char* path, int flags, mode_t mode) override;
    ssize_t Write(int fd, const void* data, size_t size) override;
    ssize_t PWrite(int fd, const void* data, size_t size, off_t offset) override;
    int Fsync(int fd) override;
    int Fchmod(int fd, mode_t mode) override;
    int Rename(const char* from, const char* to) override;
    int Unlink(const char* path) override;

  private:
    // Counts a call; true (with errno set) for the one that fails.
    bool Fails(const std::string& call);

    int failAt_;
    int error_;
    std::vector<std::string> calls_;
    FileOpsScope scope_;
};

}  // namespace zv::test
