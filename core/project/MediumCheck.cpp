#include "core/project/MediumCheck.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string_view>

#include "core/platform/ChildProcess.h"
#include "core/project/MediumExport.h"
#include "core/project/Sha256.h"

namespace fs = std::filesystem;

namespace zv {

namespace {

constexpr const char* kSums = "SHA256SUMS";
constexpr std::streamoff kIsoDescriptorAt = 16 * 2048;

// What the medium holds at one path.
struct Found {
    EntryKind kind;
    uintmax_t size = 0;
    std::string linkTarget;
};

void Walk(const fs::path& root, const fs::path& folder, std::map<std::string, Found>& found) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().lexically_relative(root).generic_string();
        struct stat info {};
        if (::lstat(it->path().c_str(), &info) != 0)
            throw MediumExportError(it->path().string(), std::strerror(errno));
        if (S_ISDIR(info.st_mode)) {
            found[name] = {EntryKind::Folder, 0, {}};
            Walk(root, it->path(), found);
        } else if (S_ISLNK(info.st_mode)) {
            found[name] = {EntryKind::Link, 0, fs::read_symlink(it->path(), error).string()};
        } else {
            found[name] = {EntryKind::File, static_cast<uintmax_t>(info.st_size), {}};
        }
    }
    if (error)
        throw MediumExportError(folder.string(), error.message());
}

const char* KindName(EntryKind kind) {
    switch (kind) {
        case EntryKind::File:
            return "a file";
        case EntryKind::Folder:
            return "a folder";
        case EntryKind::Link:
            break;
    }
    return "a link";
}

std::string Digest(const fs::path& path, uintmax_t& done, uintmax_t total,
                   const CheckProgress& progress) {
    const std::optional<std::string> digest = FileSha256(path.string(), [&](size_t bytes) {
        done += bytes;
        if (progress)
            progress(done, total);
    });
    if (!digest)
        throw MediumExportError(path.string(), "the file cannot be read");
    return *digest;
}

// The digests the medium's SHA256SUMS lists, by name, as sha256sum writes
// them (a name with a backslash or a line break escaped, the line then
// starting with a backslash).
std::map<std::string, std::string> ListedDigests(const fs::path& sums) {
    std::map<std::string, std::string> digests;
    std::ifstream in(sums, std::ios::binary);
    std::string line;
    constexpr size_t kHex = 64;
    while (std::getline(in, line)) {
        const bool escaped = line.starts_with('\\');
        const size_t at = escaped ? 1 : 0;
        if (line.size() < at + kHex + 2)
            continue;
        std::string name;
        for (size_t i = at + kHex + 2; i < line.size(); ++i) {
            if (escaped && line[i] == '\\' && i + 1 < line.size()) {
                const char code = line[++i];
                name += code == 'n' ? '\n' : code == 'r' ? '\r' : code;
            } else {
                name += line[i];
            }
        }
        digests[name] = line.substr(at, kHex);
    }
    return digests;
}

// The first volume descriptor of ISO 9660 stands in sector 16 and names the
// standard after its type byte.
bool IsIsoImage(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char id[5] = {};
    in.seekg(kIsoDescriptorAt + 1);
    in.read(id, sizeof id);
    return in && std::string_view(id, sizeof id) == "CD001";
}

}  // namespace

std::vector<MediumDifference> CheckMedium(const std::vector<PlacedEntry>& entries, int medium,
                                          const fs::path& root, const CheckProgress& progress) {
    std::map<std::string, Found> found;
    Walk(root, root, found);
    found.erase(kSums);
    const std::map<std::string, std::string> listed = ListedDigests(root / kSums);

    std::vector<MediumDifference> differences;
    std::set<std::string> planned;
    uintmax_t total = 0;
    for (const PlacedEntry& entry : entries) {
        if (entry.medium == medium)
            total += 2 * entry.size;  // the source's bytes and the medium's
    }
    uintmax_t done = 0;
    using Kind = MediumDifference::Kind;
    for (const PlacedEntry& entry : entries) {
        if (entry.medium != medium)
            continue;
        const std::string name = entry.relative.generic_string();
        for (fs::path folder = entry.relative.parent_path(); !folder.empty();
             folder = folder.parent_path())
            planned.insert(folder.generic_string());
        planned.insert(name);
        const auto at = found.find(name);
        if (at == found.end()) {
            differences.push_back({Kind::Missing, name, ""});
            continue;
        }
        Found there = at->second;
        const fs::path path = root / entry.relative;
        if (entry.sourceGone) {
            // Only the medium can say what a gone source was; a file is
            // checked against its planned size and the medium's SHA256SUMS.
            const auto digest = listed.find(name);
            if (there.kind != EntryKind::File) {
                continue;
            } else if (there.size != entry.size) {
                differences.push_back({Kind::Size, name,
                                       "planned " + std::to_string(entry.size) + " bytes, found " +
                                           std::to_string(there.size)});
            } else if (digest == listed.end()) {
                differences.push_back(
                    {Kind::Content, name, "its source has gone and SHA256SUMS does not list it"});
            } else if (Digest(path, done, total, progress) != digest->second) {
                differences.push_back(
                    {Kind::Content, name, "its SHA-256 differs from the one SHA256SUMS lists"});
            }
            continue;
        }
        // A link folder holds a link to a file that could not be hard-linked.
        if (there.kind == EntryKind::Link && entry.kind == EntryKind::File &&
            fs::is_regular_file(path))
            there = {EntryKind::File, fs::file_size(path), {}};
        if (there.kind != entry.kind) {
            differences.push_back({Kind::Type, name,
                                   std::string("planned as ") + KindName(entry.kind) + ", found " +
                                       KindName(there.kind)});
        } else if (entry.kind == EntryKind::Link && there.linkTarget != entry.linkTarget) {
            differences.push_back({Kind::LinkTarget, name,
                                   "planned to lead to '" + entry.linkTarget + "', leads to '" +
                                       there.linkTarget + "'"});
        } else if (entry.kind == EntryKind::File && there.size != entry.size) {
            differences.push_back({Kind::Size, name,
                                   "planned " + std::to_string(entry.size) + " bytes, found " +
                                       std::to_string(there.size)});
        } else if (entry.kind == EntryKind::File && Digest(entry.contents, done, total, progress) !=
                                                        Digest(path, done, total, progress)) {
            differences.push_back({Kind::Content, name, "its SHA-256 differs from the source's"});
        }
    }
    for (const auto& [name, what] : found) {
        if (!planned.contains(name))
            differences.push_back({Kind::Extra, name, KindName(what.kind)});
    }
    return differences;
}

int FindMedium(const std::vector<PlacedEntry>& entries, const fs::path& root) {
    std::map<int, int> present;
    for (const PlacedEntry& entry : entries) {
        if (fs::exists(fs::symlink_status(root / entry.relative)))
            ++present[entry.medium];
    }
    int best = 0;
    int most = 0;
    bool tied = false;
    for (const auto& [medium, count] : present) {
        if (count > most) {
            best = medium;
            most = count;
            tied = false;
        } else if (count == most) {
            tied = true;
        }
    }
    return tied ? 0 : best;
}

void WithUnpackedImage(const std::string& image, const fs::path& scratch,
                       const std::function<void(const fs::path&)>& check) {
    // xorriso takes any other file for an empty medium.
    if (!IsIsoImage(image))
        throw MediumExportError(image, "is no ISO 9660 image");
    std::string pattern = (scratch / "zarvopack-verify-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw MediumExportError(scratch.string(), std::strerror(errno));
    const fs::path folder = pattern;
    // The image's folders come out read-only; the owner may clear them again.
    struct Cleanup {
        fs::path folder;
        ~Cleanup() {
            std::error_code ignored;
            for (fs::recursive_directory_iterator it(folder, ignored), end; !ignored && it != end;
                 it.increment(ignored)) {
                if (it->is_directory() && !it->is_symlink())
                    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add,
                                    ignored);
            }
            fs::remove_all(folder, ignored);
        }
    } cleanup{folder};
    const fs::path unpacked = folder / "medium";
    std::string problem;
    const ChildOutcome outcome = RunChild(
        {"xorriso", "-no_rc", "-osirrox", "on", "-indev", image, "-extract", "/",
         unpacked.string()},
        [&](const std::string& line) {
            for (const char* sign : {"FATAL", "FAILURE", "SORRY"}) {
                if (problem.empty() && line.find(sign) != std::string::npos)
                    problem = line;
            }
        },
        [] { return true; });
    if (!outcome.started) {
        throw MediumExportError("xorriso", outcome.startError == ENOENT
                                               ? "is not installed; reading an image needs it "
                                                 "(Debian package xorriso)"
                                               : std::strerror(outcome.startError));
    }
    if (!outcome.Succeeded())
        throw MediumExportError(image, "xorriso cannot read the image" +
                                           (problem.empty() ? std::string() : ": " + problem));
    check(unpacked);
}

}  // namespace zv
