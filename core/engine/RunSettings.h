#pragma once

#include <cstdint>
#include <string>

#include "core/engine/FileSystemAllowance.h"
#include "core/engine/PackingMethod.h"

namespace zv {

// What follows a run that ended normally: an export of its media into the
// after-run folder. The numbers are the ones the files keep.
enum class AfterRunAction : int16_t {
    None = 0,
    LinkFolders = 1,
    PathLists = 2,
    IsoImages = 3,
};

// The parameters of one packing run as a project keeps them.
struct RunSettings {
    // Capacity of one medium as the user entered it: a number of bytes or the
    // name of a size preset.
    std::string MediaSize;
    // Tolerated shortfall in bytes.
    double DiffSize = 0;
    // Largest number of media a run fills; 0 or less sets no limit.
    int32_t MediaNum = 0;
    // Largest and smallest number of list items on one medium (a medium must
    // hold more than MinFile items).
    int32_t MaxFile = 0;
    int32_t MinFile = 0;
    // Fast search.
    bool MaxSpeed = false;
    // After-run action, as the number of an AfterRunAction (kept as stored,
    // so that a number that stands for no action survives a save), and the
    // folder it writes into.
    int16_t AfterRun = 0;
    std::string AfterPath;
    PackingMethod Method = PackingMethod::Sequential;
    // Room left on every medium for the file system the files are put in.
    FileSystemAllowance FsAllowance = FileSystemAllowance::None;

    bool operator==(const RunSettings&) const = default;
};

}  // namespace zv
