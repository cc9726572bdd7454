#include "cli/VerifyCommand.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <set>

#include "cli/StopSignals.h"
#include "cli/WorkProgress.h"
#include "core/project/MediumCheck.h"
#include "core/project/MediumExport.h"
#include "core/strings/JsonEscape.h"

namespace fs = std::filesystem;

namespace zv {

namespace {

const char* Label(MediumDifference::Kind kind) {
    using Kind = MediumDifference::Kind;
    switch (kind) {
        case Kind::Missing:
            return "missing";
        case Kind::Extra:
            return "extra";
        case Kind::Size:
            return "size differs";
        case Kind::Content:
            return "content differs";
        case Kind::Type:
            return "kind differs";
        case Kind::LinkTarget:
            break;
    }
    return "link differs";
}

}  // namespace

int VerifyCommand(const CliOptions& options, const ProjectData& project) {
    const std::string& target = options.paths[1];
    const std::vector<PlacedEntry> entries = PlacedEntries(project.items, GoneSources::Kept);
    const auto gone = std::count_if(entries.begin(), entries.end(),
                                    [](const PlacedEntry& entry) { return entry.sourceGone; });
    if (gone > 0) {
        std::cerr << "zarvopack-cli: " << gone
                  << " source file(s) of the plan have gone; the medium's SHA256SUMS and the "
                     "planned sizes stand for them\n";
    }
    std::set<int> media;
    for (const PlacedEntry& entry : entries)
        media.insert(entry.medium);
    if (options.medium && !media.contains(*options.medium))
        throw Failure("the plan has no medium " + std::to_string(*options.medium));

    WorkProgress line(options.quiet);
    int status = 0;
    const auto check = [&](const fs::path& root) {
        const int medium = options.medium ? *options.medium : FindMedium(entries, root);
        if (medium == 0)
            throw Failure("cannot tell which medium of the plan '" + target +
                          "' holds; name it with --medium N");
        const std::string what =
            "medium " + std::to_string(medium) + " of " + std::to_string(media.size());
        const std::vector<MediumDifference> differences =
            CheckMedium(entries, medium, root, [&](uintmax_t done, uintmax_t total) {
                StopSignals::Check();
                line.Show("verifying " + what,
                          static_cast<double>(done) / static_cast<double>(total), total / 2);
            });
        line.Clear();
        for (const MediumDifference& difference : differences) {
            std::cout << Label(difference.kind) << ": " << JsonEscaped(difference.path)
                      << (difference.detail.empty() ? "" : " (" + difference.detail + ")") << '\n';
        }
        if (differences.empty()) {
            std::cout << "'" << target << "' is " << what << ", exactly as planned\n";
        } else {
            std::cout << "'" << target << "' is " << what << " with " << differences.size()
                      << " difference(s) from the plan\n";
            status = 1;
        }
    };

    std::error_code error;
    const fs::file_status kind = fs::status(target, error);
    if (fs::is_directory(kind)) {
        check(target);
    } else if (fs::is_regular_file(kind)) {
        line.ShowText("unpacking '" + target + "' to read it");
        WithUnpackedImage(target, fs::temp_directory_path(), check);
    } else {
        throw Failure("'" + target + "' is neither a folder nor an image file");
    }
    return status;
}

}  // namespace zv
