#include "tests/support/FaultyFiles.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace zv::test {

namespace {

ssize_t SqliteWrite(int fd, const void* data, size_t size) {
    return Files().Write(fd, data, size);
}

ssize_t SqlitePWrite(int fd, const void* data, size_t size, off_t offset) {
    return Files().PWrite(fd, data, size, offset);
}

int SqliteUnlink(const char* path) {
    return Files().Unlink(path);
}

// SQLite's own file layer lets a program supply the system calls it makes;
// its writes and removals then meet the same faults as the program's.
void RouteSqliteThroughFiles() {
    static const bool routed = [] {
        sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
        vfs->xSetSystemCall(vfs, "write", reinterpret_cast<sqlite3_syscall_ptr>(&SqliteWrite));
        vfs->xSetSystemCall(vfs, "pwrite", reinterpret_cast<sqlite3_syscall_ptr>(&SqlitePWrite));
        vfs->xSetSystemCall(vfs, "pwrite64", reinterpret_cast<sqlite3_syscall_ptr>(&SqlitePWrite));
        vfs->xSetSystemCall(vfs, "unlink", reinterpret_cast<sqlite3_syscall_ptr>(&SqliteUnlink));
        return true;
    }();
    static_cast<void>(routed);
}

std::string NameOf(int fd) {
    std::error_code ignored;
    return std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), ignored)
        .filename()
        .string();
}

std::string NameOf(const char* path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

FaultyFiles::FaultyFiles(int failAt, int error) : failAt_(failAt), error_(error), scope_(*this) {
    RouteSqliteThroughFiles();
}

bool FaultyFiles::Fails(const std::string& call) {
    calls_.push_back(call);
    if (static_cast<int>(calls_.size()) != failAt_)
        return false;
    errno = error_;
    return true;
}

int FaultyFiles::Open(const char* path, int flags, mode_t mode) {
    return Fails("open " + NameOf(path)) ? -1 : FileOps::Open(path, flags, mode);
}

ssize_t FaultyFiles::Write(int fd, const void* data, size_t size) {
    return Fails("write " + NameOf(fd)) ? -1 : FileOps::Write(fd, data, size);
}

ssize_t FaultyFiles::PWrite(int fd, const void* data, size_t size, off_t offset) {
    return Fails("write " + NameOf(fd)) ? -1 : FileOps::PWrite(fd, data, size, offset);
}

int FaultyFiles::Fsync(int fd) {
    return Fails("fsync " + NameOf(fd)) ? -1 : FileOps::Fsync(fd);
}

int FaultyFiles::Fchmod(int fd, mode_t mode) {
    return Fails("fchmod " + NameOf(fd)) ? -1 : FileOps::Fchmod(fd, mode);
}

int FaultyFiles::Rename(const char* from, const char* to) {
    return Fails("rename " + NameOf(from)) ? -1 : FileOps::Rename(from, to);
}

int FaultyFiles::Unlink(const char* path) {
    return Fails("unlink " + NameOf(path)) ? -1 : FileOps::Unlink(path);
}

}  // namespace zv::test
