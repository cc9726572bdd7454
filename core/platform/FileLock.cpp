#include "core/platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <mutex>

#include "core/platform/FileError.h"
#include "core/platform/FileOps.h"

namespace zv {

// The lock file of one locked path, open while any FileLock of this process
// holds it.
struct FileLock::Holding {
    std::string lockPath;
    int fd = -1;
    // A child process inherits the parent's memory, not its locks.
    pid_t owner = ::getpid();

    ~Holding() {
        // Removed while still locked: whoever opened the file meanwhile finds
        // it gone from its place once they have the lock, and opens anew.
        ::unlink(lockPath.c_str());
        ::close(fd);
    }
};

namespace {

std::mutex holdingsGuard;
std::map<std::string, std::weak_ptr<FileLock::Holding>> holdings;

std::string LockPathOf(const std::string& path) {
    std::error_code ignored;
    std::filesystem::path full = std::filesystem::weakly_canonical(path, ignored);
    if (full.empty())
        full = std::filesystem::absolute(path, ignored);
    return full.string() + ".lock";
}

bool SameFile(int fd, const std::string& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

}  // namespace

FileLock::FileLock(std::string path) : path_(std::move(path)) {}

FileLock::~FileLock() {
    const std::lock_guard guard(holdingsGuard);
    held_.reset();
}

Status FileLock::Take() {
    if (held_)
        return {};
    const std::string lockPath = LockPathOf(path_);
    const std::lock_guard guard(holdingsGuard);
    if (auto holding = holdings[lockPath].lock(); holding && holding->owner == ::getpid()) {
        held_ = std::move(holding);
        joined_ = true;
        return {};
    }
    for (;;) {
        const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0)
            return SystemFailure("cannot lock '" + path_ + "'");
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const Status status =
                errno == EWOULDBLOCK
                    ? Status(FileError::InUse, "'" + path_ + "' is in use by another run or save")
                    : SystemFailure("cannot lock '" + path_ + "'");
            ::close(fd);
            return status;
        }
        if (SameFile(fd, lockPath)) {
            held_.reset(new Holding{lockPath, fd});
            std::erase_if(holdings, [](const auto& entry) { return entry.second.expired(); });
            holdings[lockPath] = held_;
            return {};
        }
        // The holder before us removed the file as we opened it.
        ::close(fd);
    }
}

}  // namespace zv
