#include "core/platform/AtomicReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "core/platform/FileError.h"
#include "core/platform/FileOps.h"

namespace zv {

namespace {

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// Closes the descriptor; the earlier failure, if any, is the one that counts.
Status CloseKeeping(int fd, Status status, const std::string& path) {
    if (Files().Close(fd) != 0 && status.ok())
        status = SystemFailure("cannot write " + Quoted(path));
    return status;
}

// A name beside `target` that no other file has, opened for writing.
int CreateBeside(const std::string& target, std::string& name) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + "." + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        const int fd = Files().Open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The new file takes over what it can of the old one's permissions and owner.
Status TakeOver(int fd, const std::string& from, const std::string& to) {
    struct stat old {};
    if (::stat(to.c_str(), &old) != 0 || !S_ISREG(old.st_mode))
        return {};
    if (Files().Fchmod(fd, old.st_mode & 07777) != 0)
        return SystemFailure("cannot set the permissions of " + Quoted(from));
    // Only a privileged user can give a file away; for anyone else the new
    // file is theirs, as any file they write.
    struct stat mine {};
    if (::fstat(fd, &mine) == 0 && (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid))
        static_cast<void>(::fchown(fd, old.st_uid, old.st_gid));
    return {};
}

}  // namespace

bool IsReadOnlyFile(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return errno != ENOENT;
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
           ::access(path.c_str(), W_OK) != 0;
}

Status ReadOnlyFailure(const std::string& path) {
    return {FileError::ReadOnly, Quoted(path) + " is read-only"};
}

Status AtomicReplace(const std::string& from, const std::string& to) {
    if (IsReadOnlyFile(to))
        return ReadOnlyFailure(to);
    const int fd = Files().Open(from.c_str(), O_RDONLY, 0);
    if (fd < 0)
        return SystemFailure("cannot open " + Quoted(from));
    Status status = TakeOver(fd, from, to);
    if (status.ok() && Files().Fsync(fd) != 0)
        status = SystemFailure("cannot write " + Quoted(from) + " to the disk");
    status = CloseKeeping(fd, status, from);
    if (!status.ok())
        return status;
    if (Files().Rename(from.c_str(), to.c_str()) != 0)
        return SystemFailure("cannot rename " + Quoted(from) + " to " + Quoted(to));
    // From here on `to` is the new file: a failure may no longer say otherwise.
    if (const Status synced = SyncFolder(std::filesystem::path(to).parent_path().string());
        !synced.ok())
        return {FileError::NotSynced, Quoted(to) +
                                          " holds the new file, but its folder could not " +
                                          "be written to the disk (" + synced.message() +
                                          "); a crash now may bring back the old one"};
    return {};
}

Status WriteFileAtomically(const std::string& target, std::string_view content) {
    std::string temporary;
    const int fd = CreateBeside(target, temporary);
    if (fd < 0)
        return SystemFailure("cannot create a file beside " + Quoted(target));
    Status status = CloseKeeping(fd, WriteAll(fd, content, temporary), temporary);
    if (status.ok())
        status = AtomicReplace(temporary, target);
    if (!status.ok() && status.code() != FileError::NotSynced)
        Files().Unlink(temporary.c_str());
    return status;
}

Status WriteNewFile(const std::string& path, std::string_view content, mode_t mode) {
    const int fd = Files().Open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, mode);
    if (fd < 0)
        return SystemFailure("cannot create " + Quoted(path));
    Status status = WriteAll(fd, content, path);
    if (status.ok() && Files().Fsync(fd) != 0)
        status = SystemFailure("cannot write '" + path + "' to the disk");
    status = CloseKeeping(fd, status, path);
    if (!status.ok())
        Files().Unlink(path.c_str());
    return status;
}

Status CopyToNewFile(const std::string& from, const std::string& to, mode_t mode) {
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0)
        return SystemFailure("cannot read " + Quoted(from));
    const int copy = Files().Open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, mode);
    if (copy < 0) {
        const Status status = SystemFailure("cannot create " + Quoted(to));
        ::close(source);
        return status;
    }
    Status status;
    std::vector<char> buffer(1 << 20);
    while (status.ok()) {
        const ssize_t got = ::read(source, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            status = SystemFailure("cannot read " + Quoted(from));
        if (got <= 0)
            break;
        status = WriteAll(copy, {buffer.data(), static_cast<size_t>(got)}, to);
    }
    ::close(source);
    status = CloseKeeping(copy, status, to);
    if (!status.ok())
        Files().Unlink(to.c_str());
    return status;
}

}  // namespace zv
