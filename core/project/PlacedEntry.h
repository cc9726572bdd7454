#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/engine/EntryKind.h"
#include "core/project/ProjectFile.h"

namespace zv {

// One placed member as a medium holds it.
struct PlacedEntry {
    int medium;
    EntryKind kind;
    std::filesystem::path source;    // as the project names it, made absolute
    std::filesystem::path contents;  // a file's data with every link above it resolved
    std::filesystem::path relative;  // below the members' common folder: the path on the medium
    uintmax_t size;                  // a file's bytes; 0 for the others
    std::string linkTarget;          // a link's own target, as it stands
    mode_t mode;                     // the permission bits
    // The source has gone since the plan (its originals thrown away once the
    // discs were burned): a file of the planned size, as far as is known.
    bool sourceGone = false;
};

// What becomes of a member whose source has gone.
enum class GoneSources { Refused, Kept };

// Every member of every placed item, each with its path on its medium below
// the folder that all placed members share. Throws MediumExportError for a
// member that has gone, that no medium can hold (a device, a FIFO), or a
// folder that is no longer empty.
// With GoneSources::Kept, a member that has gone is kept as such.
std::vector<PlacedEntry> PlacedEntries(const std::vector<ProjectItem>& items,
                                       GoneSources gone = GoneSources::Refused);

// The member paths of the items that are on no medium.
std::vector<std::string> UnplacedPaths(const std::vector<ProjectItem>& items);

// The mode an output gets that shows what `entries` hold: read and write for
// its owner, and read for the group or others only where each file and
// folder it holds lets them read it.
mode_t MostRestrictiveMode(const std::vector<const PlacedEntry*>& entries);

}  // namespace zv
