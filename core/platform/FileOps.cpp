#include "core/platform/FileOps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

namespace zv {

namespace {

FileOps realFiles;
FileOps* currentFiles = &realFiles;

}  // namespace

int FileOps::Open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags | O_CLOEXEC, mode);
}

ssize_t FileOps::Write(int fd, const void* data, size_t size) {
    return ::write(fd, data, size);
}

ssize_t FileOps::PWrite(int fd, const void* data, size_t size, off_t offset) {
    return ::pwrite(fd, data, size, offset);
}

int FileOps::Fsync(int fd) {
    return ::fsync(fd);
}

int FileOps::Fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}

int FileOps::Close(int fd) {
    return ::close(fd);
}

int FileOps::Rename(const char* from, const char* to) {
    return std::rename(from, to);
}

int FileOps::Unlink(const char* path) {
    return ::unlink(path);
}

int FileOps::Link(const char* from, const char* to) {
    return ::link(from, to);
}

FileOps& Files() {
    return *currentFiles;
}

FileOpsScope::FileOpsScope(FileOps& ops) : previous_(currentFiles) {
    currentFiles = &ops;
}

FileOpsScope::~FileOpsScope() {
    currentFiles = previous_;
}

Status SystemFailure(const std::string& what) {
    const std::error_code code(errno, std::generic_category());
    return {code, what + ": " + code.message()};
}

Status WriteAll(int fd, std::string_view data, const std::string& path) {
    while (!data.empty()) {
        const ssize_t written = Files().Write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return SystemFailure("cannot write '" + path + "'");
        }
        data.remove_prefix(static_cast<size_t>(written));
    }
    return {};
}

Status SyncFolder(const std::string& folder) {
    const std::string name = folder.empty() ? "." : folder;
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return SystemFailure("cannot open the folder '" + name + "'");
    Status status;
    if (Files().Fsync(fd) != 0)
        status = SystemFailure("cannot sync the folder '" + name + "'");
    ::close(fd);
    return status;
}

}  // namespace zv
