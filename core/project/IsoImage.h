#pragma once

#include <functional>
#include <string>

namespace zv {

// The volume id of a project's medium: the project's name in the letters,
// digits and underscores that ISO 9660 allows (others become "_", lower case
// becomes upper case; "DISC" when nothing is left), cut so that "_NN" with the
// medium's number follows within 32 characters.
std::string VolumeId(const std::string& project, int medium);

// Writes the ISO 9660 image `image` with Rock Ridge and Joliet by running
// xorriso on the QuotedPathList `pathList`; a symbolic link goes in as a
// link. `progress` hears how much of the image is written (0 to 1); when
// `keepGoing` says no, xorriso is stopped and ExportCancelled thrown. xorriso
// missing or failing throws MediumExportError. What it leaves at `image` on a
// failure is the caller's to remove.
void WriteIsoImage(const std::string& image, const std::string& volumeId,
                   const std::string& pathList, const std::function<void(double)>& progress,
                   const std::function<bool()>& keepGoing);

}  // namespace zv
