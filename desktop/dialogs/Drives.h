#pragma once

#include <string>
#include <vector>

namespace zv {

// One entry of the add-files dialog's drive box: a mounted volume.
struct Drive {
    // The volume's root folder.
    std::string root;
    // What the box shows: the root, and the volume's name in brackets when it
    // has one.
    std::string text;
};

// The drives the add-files dialog offers, and the questions it asks of them.
// The desktop's own are the mounted volumes (MountedDrives).
class Drives {
  public:
    virtual ~Drives() = default;

    // The drives in the order the box lists them.
    virtual std::vector<Drive> List() const = 0;
    // Whether the volume can be read now (a card reader without a card cannot).
    virtual bool IsReady(const std::string& root) const = 0;
    // The volume's total capacity in bytes.
    virtual double Capacity(const std::string& root) const = 0;
};

// The drive a folder lies on: the entry whose root is the longest leading part
// of `path`, counted in whole folder names; -1 when none is.
int DriveOf(const std::vector<Drive>& drives, const std::string& path);

}  // namespace zv
