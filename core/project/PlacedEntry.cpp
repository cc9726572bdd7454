#include "core/project/PlacedEntry.h"

#include <sys/stat.h>

#include <system_error>

#include "core/engine/CommonFolder.h"
#include "core/project/MediumExport.h"

namespace fs = std::filesystem;

namespace zv {

namespace {

[[noreturn]] void Fail(const fs::path& path, const std::error_code& error) {
    throw MediumExportError(path.string(), error.message());
}

PlacedEntry Entry(int medium, const fs::path& source, double plannedSize, GoneSources gone) {
    struct stat info {};
    if (::lstat(source.c_str(), &info) != 0) {
        const std::error_code error(errno, std::generic_category());
        const bool missing =
            error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
        if (missing && gone == GoneSources::Kept) {
            return {medium, EntryKind::File,
                    source, source,
                    {},     static_cast<uintmax_t>(plannedSize),
                    {},     0644,
                    true};
        }
        if (missing)
            throw MediumExportError(source.string(), "the file does not exist");
        Fail(source, error);
    }
    PlacedEntry entry{medium, EntryKind::File,      source, source, {}, 0,
                      {},     info.st_mode & 07777, false};
    std::error_code error;
    if (S_ISDIR(info.st_mode)) {
        // A folder is planned as an empty one; what it holds now would come
        // onto its medium beside the plan, perhaps a second time.
        entry.kind = EntryKind::Folder;
        if (!fs::is_empty(source, error) && !error)
            throw MediumExportError(source.string(),
                                    "was an empty folder when it was planned and holds something "
                                    "now; plan again");
    } else if (S_ISLNK(info.st_mode)) {
        entry.kind = EntryKind::Link;
        entry.linkTarget = fs::read_symlink(source, error).string();
    } else if (S_ISREG(info.st_mode)) {
        entry.contents = fs::canonical(source, error);
        entry.size = static_cast<uintmax_t>(info.st_size);
    } else {
        throw MediumExportError(source.string(),
                                "is neither a file, a folder nor a link, and no medium holds it");
    }
    if (error)
        Fail(source, error);
    return entry;
}

}  // namespace

std::vector<PlacedEntry> PlacedEntries(const std::vector<ProjectItem>& items, GoneSources gone) {
    std::vector<PlacedEntry> entries;
    for (const ProjectItem& item : items) {
        if (item.medium <= 0)
            continue;
        for (const ProjectMember& member : item.members)
            entries.push_back(Entry(item.medium, fs::absolute(member.path).lexically_normal(),
                                    member.size, gone));
    }
    std::vector<std::string> paths;
    for (const PlacedEntry& entry : entries)
        paths.push_back(entry.source.string());
    if (!paths.empty()) {
        const fs::path common = CommonFolder(paths);
        for (PlacedEntry& entry : entries)
            entry.relative = entry.source.lexically_relative(common);
    }
    return entries;
}

std::vector<std::string> UnplacedPaths(const std::vector<ProjectItem>& items) {
    std::vector<std::string> paths;
    for (const ProjectItem& item : items) {
        if (item.medium > 0)
            continue;
        for (const ProjectMember& member : item.members)
            paths.push_back(member.path);
    }
    return paths;
}

mode_t MostRestrictiveMode(const std::vector<const PlacedEntry*>& entries) {
    mode_t mode = 0644;
    for (const PlacedEntry* entry : entries) {
        if (entry->kind != EntryKind::Link)
            mode &= 0600 | (entry->mode & 0044);
    }
    return mode;
}

}  // namespace zv
