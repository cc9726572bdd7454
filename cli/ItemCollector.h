#pragma once

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
class ItemCollector {
  public:
    explicit ItemCollector(bool groupFolders) : groupFolders_(groupFolders) {}

    void AddPath(const std::string& path);
    // `source` names the list in error messages.
    void AddSizeList(std::istream& lines, const std::string& source);

    const std::vector<ProjectItem>& Items() const { return items_; }

  private:
    void AddFile(const std::string& path, double size);
    void AddFolder(const std::string& folder);
    bool Registered(const std::string& path);
    void CheckCount() const;

    bool groupFolders_;
    std::vector<ProjectItem> items_;
    std::unordered_set<std::string> registered_;  // member paths
};

}  // namespace zv
