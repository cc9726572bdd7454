#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "desktop/dialogs/GatheredFiles.h"

namespace zv {

// The walk of the add-files dialog over a folder and, with subfolders, every
// folder below it: breadth first over a queue of folder paths that only grows,
// one folder per step, so the caller can let the events run and stop between
// any two folders. Folders named "System Volume Information" give neither
// files nor subfolders; hidden and system files and folders count like any
// other. A folder or file that cannot be read is passed over. Linked folders
// are not followed, so a link back up the tree cannot make the walk endless.
class FolderScan {
  public:
    enum class Mode {
        Gather,  // keep every file found
        Measure  // only add up the sizes, for the progress total
    };

    FolderScan(const std::string& start, bool subfolders, Mode mode = Mode::Gather);

    // Walks the next folder of the queue; false when none was left.
    bool WalkNext();
    // Bytes of all files found so far.
    double Bytes() const { return bytes_; }
    // Folders walked so far, and folders queued in all.
    std::size_t Walked() const { return next_; }
    std::size_t Queued() const { return queue_.size(); }
    // The files found so far; with Mode::Measure always empty.
    const GatheredFiles& Files() const { return files_; }
    GatheredFiles TakeFiles() { return std::move(files_); }

  private:
    bool subfolders_;
    Mode mode_;
    std::vector<std::string> queue_;
    std::size_t next_ = 0;
    double bytes_ = 0;
    GatheredFiles files_;
};

// The progress bar's range ends here, whatever the byte total.
constexpr int kProgressMaximum = 32766;

// The bar's value for `bytes` of `total`: the whole part of bytes over a
// 32,766th of the total, never past the end of the range; 0 without a total.
int ScaledProgress(double bytes, double total);

}  // namespace zv
