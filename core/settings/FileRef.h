#pragma once

#include <string>

namespace zv {

// A live handle on one file: whatever is asked of it is read from the file
// system at that moment, so a file that grew shows its new size at the next
// read. A default-made handle is an empty slot.
class FileRef {
  public:
    FileRef() = default;
    // A handle on the file at `path` (made absolute). Throws PlatformError
    // (53, file not found) when no file is there; a folder is no file.
    static FileRef Get(const std::string& path);

    bool IsEmpty() const { return path_.empty(); }
    // The full path.
    const std::string& Path() const { return path_; }
    // The part after the last separator.
    std::string Name() const;
    // The path as short-path callers want it; on this platform the full path.
    const std::string& ShortPath() const { return path_; }
    // The size in bytes now. Throws PlatformError (53) when the file has gone.
    double Size() const;
    // The size the last successful read of Size() (or Get) found.
    double LastKnownSize() const { return lastSize_; }

    bool operator==(const FileRef& other) const { return path_ == other.path_; }

  private:
    std::string path_;
    mutable double lastSize_ = 0;
};

}  // namespace zv
