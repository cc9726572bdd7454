#include "core/engine/FileSystemAllowance.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <unordered_map>

#include "core/engine/CommonFolder.h"
#include "core/platform/PlatformError.h"

namespace zv {

namespace {

namespace fs = std::filesystem;

constexpr double kSector = 2048;

// A directory record never crosses a sector: a sector of records leaves at
// most one record less a byte unused, so records of n bytes take no more than
// n * kPacking bytes of whole sectors, plus the last sector begun.
constexpr double kLongestRecord = 255;
constexpr double kPacking = kSector / (kSector - kLongestRecord + 1);

// ISO 9660 names: at most 37 characters with ";1" (xorriso falls back to
// such names where libisofs cannot lay out the shorter ones); the record is
// padded to an even length.
constexpr double kRecordHead = 33;
constexpr double kIsoNameAndPad = 38;
// Rock Ridge 1.12: PX with the inode number, TF with three times, NM's head.
constexpr double kRockRidge = 44 + 26 + 5;
// A name too long for its record goes on in a continuation area: the CE entry
// and the second NM's head.
constexpr double kContinuation = 28 + 5;
// Joliet: the record's head, a version ";1" in UCS-2 and the padding byte;
// names are cut to 64 characters.
constexpr double kJolietHead = 33 + 4 + 1;
constexpr int kJolietCharacters = 64;
// "." and ".." of a directory: with their Rock Ridge entries in ISO 9660, bare
// in Joliet.
constexpr double kIsoDots = 2 * (34 + 44 + 26);
constexpr double kJolietDots = 2 * 34;
// One folder's entries in the four path tables (ISO 9660 and Joliet, each in
// both byte orders).
constexpr double kPathTableHead = 8;
constexpr double kIsoPathName = 38;
// The largest extent of a file; a larger file takes a record per extent.
constexpr double kExtent = 4294965248.0;
// A line of SHA256SUMS: the digest, two blanks and the line's end, and the
// backslash that opens a line whose name needed escapes.
constexpr double kSumLine = 64 + 2 + 1 + 1;

// Sectors every volume takes whatever it holds: the system area (16), the
// primary and Joliet descriptors and the terminator with one spare (4), the
// four path tables' last sectors (4), the root directory in both trees with
// the continuation area of the Rock Ridge signature (4), the last sectors of
// SHA256SUMS and of the tree (2), xorriso's 300 KiB of padding after the
// volume (150), the 64 KiB it leaves before a first session on an overwritable
// medium (32), and a margin (8).
constexpr double kVolumeSectors = 16 + 4 + 4 + 4 + 2 + 150 + 32 + 8;
// The root's "." with the Rock Ridge signature, and SHA256SUMS's own records.
constexpr double kRootRecords = 132 + 104 + 68 + 2 * 180;

double Utf16Units(const std::string& name) {
    double units = 0;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

bool NeedsContinuation(double nameBytes) {
    return kRecordHead + kIsoNameAndPad + kRockRidge + nameBytes > kLongestRecord - 1;
}

// The bytes of one entry named `name` in the directories of both trees.
double EntryRecords(const std::string& name) {
    const auto bytes = static_cast<double>(name.size());
    double iso = kRecordHead + kIsoNameAndPad + kRockRidge + bytes;
    if (NeedsContinuation(bytes))
        iso += kContinuation;
    const double joliet = kJolietHead + 2 * std::min<double>(Utf16Units(name), kJolietCharacters);
    return iso + joliet;
}

double FileBytes(double size, const std::string& name, const std::string& pathOnMedium) {
    const double data = std::ceil(size / kSector) * kSector;
    const double extents = std::max(1.0, std::ceil(size / kExtent));
    const auto escapes = static_cast<double>(std::count_if(
        pathOnMedium.begin(), pathOnMedium.end(), [](char c) { return c == '\\' || c == '\n'; }));
    return data + extents * EntryRecords(name) * kPacking +
           (kSumLine + static_cast<double>(pathOnMedium.size()) + escapes);
}

// A folder on a medium: its entry in its parent in both trees, its own "." and
// "..", its path table entries, and the last sector of each of its
// directories (and of its continuation area when one of its entries needs
// one).
double FolderBytes(const std::string& name, bool continuation) {
    const double units = std::min<double>(Utf16Units(name), kJolietCharacters);
    const double pathTables =
        2 * (kPathTableHead + kIsoPathName) + 2 * (kPathTableHead + 2 * units);
    return (EntryRecords(name) + kIsoDots + kJolietDots) * kPacking + pathTables +
           (continuation ? 3 : 2) * kSector;
}

struct Folder {
    std::string name;
    bool continuation = false;
    int items = 0;         // items with a file below the folder
    int lastItem = -1;     // the last item counted or charged
    bool charged = false;  // charged to its items rather than to every medium
};

}  // namespace

FileSystemAllowance FileSystemAllowanceFromNumber(int16_t number) {
    switch (number) {
        case static_cast<int16_t>(FileSystemAllowance::None):
            return FileSystemAllowance::None;
        case static_cast<int16_t>(FileSystemAllowance::Iso9660):
            return FileSystemAllowance::Iso9660;
    }
    throw PlatformError::OutOfRange();
}

FileSystemEstimate EstimateIso9660(const std::vector<MemberFile>& files, int itemCount,
                                   double capacity) {
    FileSystemEstimate estimate;
    estimate.itemSizes.assign(static_cast<size_t>(std::max(itemCount, 0)), 0);
    estimate.mediumReserve = kVolumeSectors * kSector + kRootRecords * kPacking;

    // The paths as the export lays them out, each file's items in turn.
    std::vector<const MemberFile*> order;
    std::vector<std::string> paths;
    for (const MemberFile& file : files) {
        if (file.item < 0 || file.item >= itemCount)
            continue;
        order.push_back(&file);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const MemberFile* a, const MemberFile* b) { return a->item < b->item; });
    for (const MemberFile* file : order) {
        std::error_code ignored;
        paths.push_back(fs::absolute(file->path, ignored).lexically_normal().string());
    }
    const fs::path root = CommonFolder(paths);

    // Each file's folders below the root, from the top down.
    std::unordered_map<std::string, Folder> folders;
    std::vector<std::vector<Folder*>> chains(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const fs::path relative = fs::path(paths[i]).lexically_relative(root);
        const int item = order[i]->item;
        estimate.itemSizes[static_cast<size_t>(item)] +=
            FileBytes(order[i]->size, relative.filename().string(), relative.generic_string());
        fs::path folderPath;
        Folder* parent = nullptr;
        for (auto part = relative.begin(); part != relative.end(); ++part) {
            const std::string name = part->string();
            if (parent != nullptr && NeedsContinuation(static_cast<double>(name.size())))
                parent->continuation = true;
            if (std::next(part) == relative.end())
                break;
            folderPath /= *part;
            Folder& folder = folders[folderPath.string()];
            folder.name = name;
            if (folder.lastItem != item) {
                folder.lastItem = item;
                ++folder.items;
            }
            chains[i].push_back(&folder);
            parent = &folder;
        }
    }

    // A folder costs the same wherever it is charged: to every item below it
    // (each medium holding the folder holds one of them) or to every medium.
    // It goes where it is charged the fewest times, judged by the number of
    // media the files alone would fill.
    double total = 0;
    for (const double size : estimate.itemSizes)
        total += size;
    const double room = capacity - estimate.mediumReserve;
    const double media =
        room > 0 ? std::max(1.0, std::ceil(total / room)) : std::numeric_limits<double>::infinity();
    for (auto& [path, folder] : folders) {
        folder.lastItem = -1;
        folder.charged = folder.items <= media;
        if (!folder.charged)
            estimate.mediumReserve += FolderBytes(folder.name, folder.continuation);
    }
    for (size_t i = 0; i < order.size(); ++i) {
        const int item = order[i]->item;
        for (Folder* folder : chains[i]) {
            if (!folder->charged || folder->lastItem == item)
                continue;
            folder->lastItem = item;
            estimate.itemSizes[static_cast<size_t>(item)] +=
                FolderBytes(folder->name, folder->continuation);
        }
    }
    return estimate;
}

}  // namespace zv
