#pragma once

#include "desktop/dialogs/Drives.h"

namespace zv {

// The desktop's drives: its mounted volumes that have a folder as their root,
// "/" first and the others by their root.
class MountedDrives : public Drives {
  public:
    std::vector<Drive> List() const override;
    bool IsReady(const std::string& root) const override;
    double Capacity(const std::string& root) const override;
};

}  // namespace zv
