#pragma once

#include <functional>
#include <istream>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/project/ProjectFile.h"

namespace zv {

// Gathers the items of a planned project from the command line: files and
// folders on disk, or lines "SIZE NAME" naming items whose files need not exist.
// A file on disk already gathered is not gathered twice; every line of a list
// is an item. Throws UsageError for a path that does not exist, a malformed
// line, or more items than a project holds; Failure for a file or folder that
// exists but cannot be read.
//
// On disk, what a disc can hold is kept as an archiver keeps it: a regular
// file with its size; a symbolic link (to a file, to a folder, or leading
// nowhere) as the link itself, of size 0, never followed; a folder in which
// nothing else became an item as the folder itself, of size 0, so that its
// medium recreates it. A link named on the command line that leads to a
// folder is followed, as the user named the folder. What no disc can hold
// (FIFOs, sockets, devices) is passed over and kept in Skipped().
class ItemCollector {
  public:
    // An entry passed over, and what kind of entry it is.
    struct Skipped {
        std::string path;
        std::string kind;
    };
    // Told of every entry found on disk: entries so far and their bytes.
    using Progress = std::function<void(std::size_t entries, double bytes)>;

    explicit ItemCollector(bool groupFolders, Progress progress = {})
        : groupFolders_(groupFolders), progress_(std::move(progress)) {}

    void AddPath(const std::string& path);
    // `source` names the list in error messages.
    void AddSizeList(std::istream& lines, const std::string& source);

    const std::vector<ProjectItem>& Items() const { return items_; }
    const std::vector<Skipped>& SkippedEntries() const { return skipped_; }

  private:
    struct Found {
        std::string path;
        double size = 0;
    };

    void AddFile(const std::string& path, double size);
    void AddFolder(const std::string& folder);
    std::size_t Walk(const std::string& folder, std::vector<Found>& found);
    void Count(const Found& entry);
    bool Registered(const std::string& path);
    void CheckCount() const;

    bool groupFolders_;
    Progress progress_;
    std::size_t entries_ = 0;
    double bytes_ = 0;
    std::vector<ProjectItem> items_;
    std::vector<Skipped> skipped_;
    std::unordered_set<std::string> registered_;  // member paths
};

}  // namespace zv
