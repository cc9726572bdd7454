#pragma once

#include <functional>
#include <string>

namespace zv {

// The names of a project's medium, each ending in "_NN" with the medium's
// number, which is never cut off.
struct VolumeIds {
    // For readers of plain ISO 9660: the project's name in the letters,
    // digits and underscores it allows, within 32 characters. Full-width
    // letters and digits become their ASCII selves, lower case becomes upper
    // case, anything else "_"; a name that kept no letter becomes
    // "ZARVOPACK", since what is left of it would read as a number.
    std::string iso;
    // For readers of Joliet (what desktops show), in UTF-8: the project's
    // name as it is, within the 16 UCS-2 characters Joliet allows; control
    // characters, characters beyond UCS-2 and * / : ; ? \ become "_".
    std::string joliet;
};
VolumeIds VolumeIdsFor(const std::string& project, int medium);

// Writes the ISO 9660 image `image` with Rock Ridge and Joliet, named by
// `ids`, by running xorriso on the QuotedPathList `pathList`; a symbolic link
// goes in as a link. `progress` hears how much of the image is written (0 to 1); when
// `keepGoing` says no, xorriso is stopped and ExportCancelled thrown. xorriso
// missing or failing throws MediumExportError. What it leaves at `image` on a
// failure is the caller's to remove.
void WriteIsoImage(const std::string& image, const VolumeIds& ids, const std::string& pathList,
                   const std::function<void(double)>& progress,
                   const std::function<bool()>& keepGoing);

}  // namespace zv
