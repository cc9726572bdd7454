#pragma once

#include <string>
#include <vector>

#include "core/project/ProjectDocument.h"

namespace zv {

// A project's list as it was at one moment: an edit that takes files out and
// then fails to put them back puts this back, so no file silently leaves the
// list.
class ListSnapshot {
  public:
    explicit ListSnapshot(const ProjectDocument& document)
        : items_(document.Items()),
          openGroup_(document.GetOpenGroup()),
          modified_(document.Modified()) {}

    void Restore(ProjectDocument& document) const {
        document.Items() = items_;
        document.SetOpenGroup(openGroup_);
        document.SetModified(modified_);
    }

  private:
    std::vector<ItemRecord> items_;
    std::string openGroup_;
    bool modified_;
};

}  // namespace zv
