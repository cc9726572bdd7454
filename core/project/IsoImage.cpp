#include "core/project/IsoImage.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/platform/ChildProcess.h"
#include "core/project/MediumExport.h"
#include "core/project/QuotedPathList.h"

namespace zv {

namespace {

constexpr size_t kVolumeIdLength = 32;

// xorriso's own signs in its messages.
constexpr const char* kDone = "% done";
const char* const kProblems[] = {"FATAL", "FAILURE", "SORRY"};
// libisofs 1.5.4 miscounts the continuation areas of some sets of long Rock
// Ridge names and then refuses the image it wrote (before any file's data).
// The other Rock Ridge version, and longer ISO 9660 names (which only readers
// without Rock Ridge and Joliet see), lay the directories out otherwise.
constexpr const char* kMiscounted = "address mismatch";
struct Layout {
    const char* rockRidge;
    bool longIsoNames;
};
constexpr Layout kLayouts[] = {
    {"new_rr", false}, {"old_rr", false}, {"new_rr", true}, {"old_rr", true}};

struct Attempt {
    ChildOutcome outcome;
    std::string problem;  // the first line that reported a problem
    bool miscounted = false;
};

Attempt RunXorriso(const std::string& image, const std::string& volumeId,
                   const std::string& pathList, const Layout& layout,
                   const std::function<void(double)>& progress,
                   const std::function<bool()>& keepGoing) {
    // No -f: a symbolic link of the medium goes in as the link it is.
    std::vector<std::string> command{"xorriso", "-no_rc", "-backslash_codes",
                                     QuotedPathList::kBackslashCodes};
    command.insert(command.end(), {"-compliance", layout.rockRidge, "-as", "mkisofs", "-o", image});
    command.insert(command.end(), {"-r", "-J", "-iso-level", "3", "-V", volumeId});
    if (layout.longIsoNames)
        command.emplace_back("-max-iso9660-filenames");
    command.insert(command.end(), {"-graft-points", "--quoted_path_list", pathList});
    Attempt attempt;
    attempt.outcome = RunChild(
        command,
        [&](const std::string& line) {
            if (const size_t done = line.find(kDone); done != std::string::npos && progress) {
                const size_t start = line.find_last_of(' ', done);
                const double percent = std::strtod(
                    line.c_str() + (start == std::string::npos ? 0 : start + 1), nullptr);
                progress(percent / 100);
            }
            if (line.find(kMiscounted) != std::string::npos)
                attempt.miscounted = true;
            for (const char* problem : kProblems) {
                if (attempt.problem.empty() && line.find(problem) != std::string::npos)
                    attempt.problem = line;
            }
        },
        keepGoing);
    return attempt;
}

}  // namespace

std::string VolumeId(const std::string& project, int medium) {
    std::string base;
    for (const char c : project) {
        char d = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (!((d >= 'A' && d <= 'Z') || (d >= '0' && d <= '9')))
            d = '_';
        if (d != '_' || (!base.empty() && base.back() != '_'))
            base += d;
    }
    while (!base.empty() && base.back() == '_')
        base.pop_back();
    if (base.empty())
        base = "DISC";
    const std::string suffix = (medium < 10 ? "_0" : "_") + std::to_string(medium);
    base.resize(std::min(base.size(), kVolumeIdLength - suffix.size()));
    while (base.back() == '_')
        base.pop_back();
    return base + suffix;
}

void WriteIsoImage(const std::string& image, const std::string& volumeId,
                   const std::string& pathList, const std::function<void(double)>& progress,
                   const std::function<bool()>& keepGoing) {
    Attempt attempt;
    for (const Layout& layout : kLayouts) {
        // xorriso would take an image that is there as a first session to add to.
        std::error_code ignored;
        std::filesystem::remove(image, ignored);
        attempt = RunXorriso(image, volumeId, pathList, layout, progress, keepGoing);
        if (!attempt.outcome.started) {
            if (attempt.outcome.startError == ENOENT)
                throw MediumExportError("xorriso",
                                        "is not installed; ISO images need it (Debian package "
                                        "xorriso)");
            throw MediumExportError("xorriso", std::strerror(attempt.outcome.startError));
        }
        if (attempt.outcome.cancelled)
            throw ExportCancelled();
        if (attempt.outcome.Succeeded() || !attempt.miscounted)
            break;
    }
    if (!attempt.outcome.Succeeded()) {
        throw MediumExportError(
            image, "xorriso failed" +
                       (attempt.problem.empty()
                            ? " (exit status " + std::to_string(attempt.outcome.exitCode) + ")"
                            : ": " + attempt.problem));
    }
}

}  // namespace zv
