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

namespace fs = std::filesystem;

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

// A name beside `target` that no other file is likely to have.
std::string NameBeside(const std::string& target) {
    static unsigned counter = 0;
    return target + "." + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

constexpr int kNameAttempts = 100;

// A name beside `target` that no other file has, opened for writing.
int CreateBeside(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = NameBeside(target);
        const int fd = Files().Open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// A copy of `from` beside `target`, with the permissions `from` has.
Status CopyBeside(const std::string& from, const std::string& target, std::string& copy) {
    struct stat own {};
    if (::stat(from.c_str(), &own) != 0)
        return SystemFailure("cannot read " + Quoted(from));
    Status status;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        copy = NameBeside(target);
        status = CopyToNewFile(from, copy, own.st_mode & 07777);
        if (status.code() != std::errc::file_exists)
            break;
    }
    return status;
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

Status FinalTarget(const std::string& path, std::string& target) {
    // As many links as the system itself follows before it gives up.
    constexpr int kMaxLinks = 40;
    fs::path at = path;
    for (int links = 0;; ++links) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(at, error))) {
            target = at.string();
            return {};
        }
        if (links == kMaxLinks)
            return {std::make_error_code(std::errc::too_many_symbolic_link_levels),
                    Quoted(path) + " is a chain of symbolic links that does not end"};
        const fs::path next = fs::read_symlink(at, error);
        if (error)
            return {error, "cannot read the link " + Quoted(at.string()) + ": " + error.message()};
        at = at.parent_path() / next;
    }
}

namespace {

// AtomicReplace of a `to` that is no link, with `from` on its file system.
Status Place(const std::string& from, const std::string& to) {
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
    if (const Status synced = SyncFolder(fs::path(to).parent_path().string()); !synced.ok())
        return {FileError::NotSynced, Quoted(to) +
                                          " holds the new file, but its folder could not " +
                                          "be written to the disk (" + synced.message() +
                                          "); a crash now may bring back the old one"};
    return {};
}

}  // namespace

Status AtomicReplace(const std::string& from, const std::string& to) {
    std::string target;
    if (Status status = FinalTarget(to, target); !status.ok())
        return status;
    if (IsReadOnlyFile(target))
        return ReadOnlyFailure(target);
    Status status = Place(from, target);
    // A link may lead to another file system than the one `from` was made on.
    if (status.code() != std::errc::cross_device_link)
        return status;
    std::string copy;
    if (status = CopyBeside(from, target, copy); !status.ok())
        return status;
    status = Place(copy, target);
    const bool placed = status.ok() || status.code() == FileError::NotSynced;
    Files().Unlink((placed ? from : copy).c_str());
    return status;
}

Status WriteFileAtomically(const std::string& target, std::string_view content) {
    std::string resolved;
    if (Status status = FinalTarget(target, resolved); !status.ok())
        return status;
    std::string temporary;
    const int fd = CreateBeside(resolved, temporary);
    if (fd < 0)
        return SystemFailure("cannot create a file beside " + Quoted(resolved));
    Status status = CloseKeeping(fd, WriteAll(fd, content, temporary), temporary);
    if (status.ok())
        status = AtomicReplace(temporary, resolved);
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
