#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/IsoImageModel.h"

namespace zv {

// The file system a run leaves room for on every medium. The numbers are the
// ones the settings file and the project file keep.
enum class FileSystemAllowance : int16_t {
    // The files' own bytes fill the capacity.
    None = 0,
    // ISO 9660 with Rock Ridge and Joliet, as xorriso writes it, holding the
    // medium's SHA256SUMS beside the files.
    Iso9660 = 1,
};

// The allowance a stored number stands for; throws PlatformError for a number
// that stands for none.
FileSystemAllowance FileSystemAllowanceFromNumber(int16_t number);

// A member file of a list item.
struct MemberFile {
    int item = 0;
    std::string path;
    double size = 0;  // bytes
    EntryKind kind = EntryKind::File;
    std::string target;  // what a link points to
};

// What the file system takes of the media of one run.
struct FileSystemEstimate {
    // The bytes each item takes on a medium, by item number: its files in
    // whole sectors, their entries in both directory trees and their lines in
    // the medium's SHA256SUMS, and the folders charged to the item.
    std::vector<double> itemSizes;
    // The bytes every medium keeps back: the volume's own structures and the
    // folders charged to every medium.
    double mediumReserve = 0;
};

// An upper bound of what an ISO 9660 volume with Rock Ridge and Joliet takes
// for any choice of the items: a medium whose items' sizes add up to no more
// than the capacity less the reserve gives an image no larger than the
// capacity. The files' paths are taken below their common folder, as the
// export lays them out.
FileSystemEstimate EstimateIso9660(const std::vector<MemberFile>& files, int itemCount,
                                   double capacity);

}  // namespace zv
