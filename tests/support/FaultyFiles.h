#pragma once

#include <sqlite3.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "core/platform/FileOps.h"

namespace zv::test {

// What a disk says when it is full, when it forbids a change, and when it breaks.
constexpr int kDiskErrors[] = {ENOSPC, EACCES, EIO};

// A disk that fails once: while it lives, the program's file-system calls (and
// SQLite's writes and removals) go through it, and call number `failAt` (from 1)
// fails with `error`, doing nothing; closing never fails. A failAt beyond the
// last call only counts, so a test can fail every call of an operation in turn.
class FaultyFiles : public FileOps {
  public:
    FaultyFiles(int failAt, int error) : failAt_(failAt), error_(error), scope_(*this) {
        // SQLite lets a program supply its system calls: its writes and
        // removals meet the same faults as the program's.
        static const bool routed = [] {
            sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
            const auto route = [vfs](const char* call, auto function) {
                vfs->xSetSystemCall(vfs, call, reinterpret_cast<sqlite3_syscall_ptr>(function));
            };
            route(
                "write", +[](int fd, const void* data, size_t size) {
                    return Files().Write(fd, data, size);
                });
            for (const char* call : {"pwrite", "pwrite64"}) {
                route(
                    call, +[](int fd, const void* data, size_t size, off_t offset) {
                        return Files().PWrite(fd, data, size, offset);
                    });
            }
            route(
                "unlink", +[](const char* path) { return Files().Unlink(path); });
            return true;
        }();
        static_cast<void>(routed);
    }

    // The calls so far by name ("rename p.mtb.saving"), the failed one included.
    const std::vector<std::string>& Calls() const { return calls_; }
    bool Failed() const { return static_cast<int>(calls_.size()) >= failAt_; }
    // The call that failed; empty before it.
    std::string FailedCall() const { return Failed() ? calls_[failAt_ - 1] : std::string(); }

    int Open(const char* path, int flags, mode_t mode) override {
        return Fails("open", path) ? -1 : FileOps::Open(path, flags, mode);
    }
    ssize_t Write(int fd, const void* data, size_t size) override {
        return Fails("write", fd) ? -1 : FileOps::Write(fd, data, size);
    }
    ssize_t PWrite(int fd, const void* data, size_t size, off_t offset) override {
        return Fails("write", fd) ? -1 : FileOps::PWrite(fd, data, size, offset);
    }
    int Fsync(int fd) override { return Fails("fsync", fd) ? -1 : FileOps::Fsync(fd); }
    int Fchmod(int fd, mode_t mode) override {
        return Fails("fchmod", fd) ? -1 : FileOps::Fchmod(fd, mode);
    }
    int Rename(const char* from, const char* to) override {
        return Fails("rename", from) ? -1 : FileOps::Rename(from, to);
    }
    int Unlink(const char* path) override {
        return Fails("unlink", path) ? -1 : FileOps::Unlink(path);
    }

  private:
    // Counts a call on a file; true (with errno set) for the one that fails.
    bool Fails(const char* call, const std::filesystem::path& path) {
        calls_.push_back(std::string(call) + " " + path.filename().string());
        if (static_cast<int>(calls_.size()) != failAt_)
            return false;
        errno = error_;
        return true;
    }
    bool Fails(const char* call, int fd) {
        std::error_code ignored;
        return Fails(call,
                     std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), ignored));
    }

    int failAt_;
    int error_;
    std::vector<std::string> calls_;
    FileOpsScope scope_;
};

}  // namespace zv::test
