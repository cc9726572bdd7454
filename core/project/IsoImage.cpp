#include "core/project/IsoImage.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "core/platform/ChildProcess.h"
#include "core/platform/FileOps.h"
#include "core/project/MediumExport.h"
#include "core/project/QuotedPathList.h"

namespace zv {

namespace {

constexpr size_t kVolumeIdLength = 32;
constexpr size_t kJolietVolumeIdLength = 16;
constexpr char32_t kNotCharacter = 0xFFFD;

// The characters of UTF-8 text; a byte that starts no character is
// kNotCharacter.
std::u32string Characters(std::string_view text) {
    std::u32string characters;
    for (size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const size_t length = lead < 0x80       ? 1
                              : lead >> 5 == 6  ? 2
                              : lead >> 4 == 14 ? 3
                              : lead >> 3 == 30 ? 4
                                                : 0;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        bool whole = length != 0 && at + length <= text.size();
        for (size_t k = 1; whole && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[at + k]);
            whole = next >> 6 == 2;
            c = c << 6 | (next & 0x3F);
        }
        characters += whole ? c : kNotCharacter;
        at += whole ? length : 1;
    }
    return characters;
}

std::string Utf8(char32_t c) {
    std::string text;
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | c >> 6);
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | c >> 12);
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

// Full-width forms of ASCII, as Japanese input methods type them, stand for
// the ASCII characters themselves.
char32_t Narrowed(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E)
        return c - 0xFEE0;
    return c == 0x3000 ? U' ' : c;
}

std::string IsoVolumeId(const std::string& project, const std::string& suffix) {
    std::string base;
    bool lost = false;
    bool letters = false;
    for (const char32_t original : Characters(project)) {
        char32_t c = Narrowed(original);
        if (c >= U'a' && c <= U'z')
            c = c - U'a' + U'A';
        letters = letters || (c >= U'A' && c <= U'Z');
        if (!((c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9'))) {
            lost = lost || c > 0x7F;
            c = U'_';
        }
        if (c != U'_' || (!base.empty() && base.back() != '_'))
            base += static_cast<char>(c);
    }
    if (base.empty() || (lost && !letters))
        base = "ZARVOPACK";
    base.resize(std::min(base.size(), kVolumeIdLength - suffix.size()));
    while (!base.empty() && base.back() == '_')
        base.pop_back();
    return base + suffix;
}

std::string JolietVolumeId(const std::string& project, const std::string& suffix) {
    std::u32string base;
    for (const char32_t c : Characters(project)) {
        const bool allowed = c >= 0x20 && c != 0x7F && c <= 0xFFFF && c != kNotCharacter &&
                             std::u32string_view(U"*/:;?\\").find(c) == std::u32string_view::npos;
        base += allowed ? c : U'_';
    }
    base.erase(0, base.find_first_not_of(U' '));
    base.resize(std::min(base.size(), kJolietVolumeIdLength - suffix.size()));
    base.erase(base.find_last_not_of(U" _") + 1);
    if (base.empty())
        base = U"Zarvopack";
    std::string id;
    for (const char32_t c : base)
        id += Utf8(c);
    return id + suffix;
}

// xorriso gives the Joliet volume descriptor the ISO 9660 id it is told,
// since it takes only one; the readable one is written into it afterwards.
void WriteJolietVolumeId(const std::string& image, const std::string& id) {
    constexpr off_t kSector = 2048;
    constexpr off_t kFirstDescriptor = 16;
    constexpr off_t kIdOffset = 40;
    constexpr unsigned char kSupplementary = 2;
    constexpr unsigned char kTerminator = 255;
    // Images made here hold a primary, a Joliet and a terminating descriptor.
    constexpr off_t kMaxDescriptors = 32;
    constexpr size_t kFieldBytes = 32;
    const int fd = Files().Open(image.c_str(), O_RDWR, 0);
    if (fd < 0)
        throw MediumExportError(image, std::strerror(errno));
    std::string field;
    for (const char32_t c : Characters(id)) {
        field += static_cast<char>(c >> 8);
        field += static_cast<char>(c & 0xFF);
    }
    while (field.size() < kFieldBytes)
        field += std::string("\0 ", 2);
    std::string problem = "xorriso wrote no Joliet volume descriptor";
    for (off_t sector = kFirstDescriptor; sector < kFirstDescriptor + kMaxDescriptors; ++sector) {
        unsigned char descriptor[kIdOffset]{};
        if (::pread(fd, descriptor, sizeof descriptor, sector * kSector) !=
                static_cast<ssize_t>(sizeof descriptor) ||
            std::memcmp(descriptor + 1, "CD001", 5) != 0 || descriptor[0] == kTerminator)
            break;
        if (descriptor[0] != kSupplementary)
            continue;
        problem = Files().PWrite(fd, field.data(), field.size(), sector * kSector + kIdOffset) ==
                          static_cast<ssize_t>(field.size())
                      ? ""
                      : std::strerror(errno);
        break;
    }
    Files().Close(fd);
    if (!problem.empty())
        throw MediumExportError(image, problem);
}

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

VolumeIds VolumeIdsFor(const std::string& project, int medium) {
    const std::string suffix = (medium < 10 ? "_0" : "_") + std::to_string(medium);
    return {IsoVolumeId(project, suffix), JolietVolumeId(project, suffix)};
}

void WriteIsoImage(const std::string& image, const VolumeIds& ids, const std::string& pathList,
                   const std::function<void(double)>& progress,
                   const std::function<bool()>& keepGoing) {
    Attempt attempt;
    for (const Layout& layout : kLayouts) {
        // xorriso would take an image that is there as a first session to add to.
        std::error_code ignored;
        std::filesystem::remove(image, ignored);
        attempt = RunXorriso(image, ids.iso, pathList, layout, progress, keepGoing);
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
    WriteJolietVolumeId(image, ids.joliet);
}

}  // namespace zv
