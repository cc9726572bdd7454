#pragma once

#include <memory>
#include <string>

#include "core/platform/Status.h"

namespace zv {

// An advisory lock that keeps two processes from replacing the same file at
// once (two runs of one project, or a save during a run). It is held on a
// file beside the locked one, "<path>.lock", because SQLite keeps locks of its
// own on the database file and a lock on the file itself would end with its
// first rename. The lock file is removed again when the lock is given up.
// Within one process the lock can be taken again while it is held, so a run
// may save the file it runs on.
class FileLock {
  public:
    explicit FileLock(std::string path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock without waiting: FileError::InUse when another process
    // holds it, the system's error when no lock file can be made.
    Status Take();
    bool Held() const { return held_ != nullptr; }
    // Whether another FileLock of this process held the lock already when
    // this one took it: something of this process is at work on the file.
    bool Joined() const { return joined_; }

    struct Holding;

  private:
    std::string path_;
    std::shared_ptr<Holding> held_;
    bool joined_ = false;
};

}  // namespace zv
