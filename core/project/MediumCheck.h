#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/project/PlacedEntry.h"

namespace zv {

// One way in which a medium is not as its plan says.
struct MediumDifference {
    enum class Kind { Missing, Extra, Size, Content, Type, LinkTarget };
    Kind kind;
    std::string path;  // on the medium
    std::string detail;
};

// How far a check has come, in bytes read of the medium's files; may throw
// to stop it.
using CheckProgress = std::function<void(uintmax_t done, uintmax_t total)>;

// Compares the tree at `root` (a mounted disc, a link folder, an unpacked
// image) with what `medium` of the plan holds: every file, empty folder and
// link, looked at without following links (a link where a file is planned is
// followed, as a link folder holds such links), each file by its size and
// the SHA-256 of its bytes against the source file's, or, where the source
// has gone, against the SHA256SUMS that the export puts at the medium's
// root (which itself belongs there). Returns the differences,
// none when the medium is exactly as planned. Throws MediumExportError when
// the tree or a source cannot be read.
std::vector<MediumDifference> CheckMedium(const std::vector<PlacedEntry>& entries, int medium,
                                          const std::filesystem::path& root,
                                          const CheckProgress& progress = {});

// The medium of the plan whose paths the tree at `root` holds most of; 0
// when none or when two hold as many.
int FindMedium(const std::vector<PlacedEntry>& entries, const std::filesystem::path& root);

// Unpacks the ISO image `image` with xorriso into a new folder below
// `scratch`, lets `check` look at it and removes it again, whatever happens.
// Throws MediumExportError when xorriso is missing or fails.
void WithUnpackedImage(const std::string& image, const std::filesystem::path& scratch,
                       const std::function<void(const std::filesystem::path&)>& check);

}  // namespace zv
