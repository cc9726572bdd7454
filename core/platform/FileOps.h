#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "core/platform/Status.h"

namespace zv {

// The calls through which the program changes the files it keeps: creating,
// writing, syncing, renaming, linking and removing them. Each behaves as the POSIX call
// of its name and fails as it does, with -1 and errno. The real calls are the
// default; a test puts a FileOps of its own in place to make the disk fail at
// any one step and see what the program makes of it.
class FileOps {
  public:
    virtual ~FileOps() = default;

    virtual int Open(const char* path, int flags, mode_t mode);
    virtual ssize_t Write(int fd, const void* data, size_t size);
    virtual ssize_t PWrite(int fd, const void* data, size_t size, off_t offset);
    virtual int Fsync(int fd);
    virtual int Fchmod(int fd, mode_t mode);
    virtual int Close(int fd);
    virtual int Rename(const char* from, const char* to);
    virtual int Unlink(const char* path);
    virtual int Link(const char* from, const char* to);
};

// The FileOps in use.
FileOps& Files();

// Puts another FileOps in use for as long as it lives.
class FileOpsScope {
  public:
    explicit FileOpsScope(FileOps& ops);
    ~FileOpsScope();
    FileOpsScope(const FileOpsScope&) = delete;
    FileOpsScope& operator=(const FileOpsScope&) = delete;

  private:
    FileOps* previous_;
};

// The failure errno names, as what was being done to which file says it:
// "cannot rename 'a' to 'b': No space left on device".
Status SystemFailure(const std::string& what);

// Writes all of `data`, however many calls it takes.
Status WriteAll(int fd, std::string_view data, const std::string& path);

// Makes a rename or a new file inside `folder` survive a power cut.
Status SyncFolder(const std::string& folder);

}  // namespace zv
