#include "core/engine/IsoImageModel.h"

#include <algorithm>

namespace zv {

namespace {

constexpr std::int64_t kSector = 2048;
// The system area, the primary and the Joliet volume descriptor and the
// terminator. libisofs lets the files begin no earlier than at 64 KiB, after
// the one empty sector that links and empty files point to; xorriso pads the
// image with 300 KiB.
constexpr std::int64_t kVolumeSectors = 16 + 3;
constexpr std::int64_t kLeastMetadataSectors = 32;
constexpr std::int64_t kEmptyFileSectors = 1;
constexpr std::int64_t kPaddingSectors = 150;
// The largest part of a file one extent holds at ISO level 3; a larger file
// has a record per part in each tree.
constexpr std::uint64_t kExtent = 0xFFFFF800;

// ISO 9660 level 3 names as libisofs makes them: a character for each, at
// most 31 for a folder, 30 and a dot for a file, which ";1" follows. Where
// libisofs refuses its first layouts the export lets names take 37, so a
// longer name is counted at that.
constexpr std::int64_t kIsoNameLength = 37;
constexpr std::int64_t kRecordHead = 33;
constexpr std::int64_t kVersion = 2;
// A record is at most 254 bytes (its length is even).
constexpr std::int64_t kLongestRecord = 254;
// Rock Ridge 1.12 of every record: PX with the inode number and TF.
constexpr std::int64_t kPosixAndTimes = 44 + 26;
constexpr std::int64_t kFieldHead = 5;           // NM, SL
constexpr std::int64_t kContinuationEntry = 28;  // CE
constexpr std::int64_t kLongestField = 255;
// "." and ".." with their Rock Ridge entries (an empty NM each); the root's
// "." also holds SP and the CE of the continuation area holding ER.
constexpr std::int64_t kDotRecord = 34 + 76;
constexpr std::int64_t kRootDotRecord = 34 + 110;
constexpr std::int64_t kExtensionReference = 182;
// Joliet: names of at most 64 UCS-2 characters, ";1" after a file's.
constexpr std::int64_t kJolietNameLength = 64;
constexpr std::int64_t kJolietHead = 34;
constexpr std::int64_t kJolietVersion = 4;
constexpr std::int64_t kJolietDots = 2 * 34;
// A path table entry's head; the root's entry with its one-byte name.
constexpr std::int64_t kPathTableHead = 8;
constexpr std::int64_t kRootPathTableEntry = 10;
// A line of SHA256SUMS: the digest, two blanks and the line's end, and the
// backslash that opens a line whose name needed escapes.
constexpr std::int64_t kSumLine = 64 + 2 + 1;
constexpr const char* kSumsName = "SHA256SUMS";

std::int64_t CodePoints(const std::string& name) {
    return std::count_if(name.begin(), name.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

// UCS-2 characters; one beyond the basic plane is counted as two.
std::int64_t JolietLength(const std::string& name) {
    std::int64_t units = 0;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            units += byte >= 0xF0 ? 2 : 1;
    }
    return std::min(units, kJolietNameLength);
}

std::int64_t IsoNameLength(const std::string& name, bool folder) {
    const bool dot = !folder && name.find('.') == std::string::npos;
    return std::min(CodePoints(name) + (dot ? 1 : 0), kIsoNameLength);
}

// The bytes of a link's SL fields: a component record per part of the
// target, split over further fields where one would pass 255 bytes.
std::int64_t SymlinkBytes(const std::string& target) {
    std::int64_t bytes = kFieldHead;
    std::int64_t field = kFieldHead;
    size_t start = 0;
    while (true) {
        const size_t slash = target.find('/', start);
        const std::string part =
            target.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        const std::int64_t component =
            (part == "." || part == ".." ? 0 : static_cast<std::int64_t>(part.size())) + 2;
        if (field + component > kLongestField) {
            bytes += kFieldHead + kFieldHead;
            field = kFieldHead;
        }
        field += component;
        bytes += component;
        if (slash == std::string::npos || slash + 1 == target.size())
            break;
        start = slash + 1;
    }
    return bytes;
}

std::int64_t Even(std::int64_t n) {
    return n + n % 2;
}

std::string ParentOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::int64_t SumLineBytes(const std::string& path) {
    const auto escapes = static_cast<std::int64_t>(
        std::count_if(path.begin(), path.end(), [](char c) { return c == '\\' || c == '\n'; }));
    return kSumLine + static_cast<std::int64_t>(path.size()) + escapes + (escapes > 0 ? 1 : 0);
}

std::int64_t SectorsOf(std::int64_t bytes) {
    return (bytes + kSector - 1) / kSector;
}

}  // namespace

// One record of an entry in each tree, and what its Rock Ridge entries put in
// the folder's continuation area, as libisofs's rrip_calc_len counts them.
IsoImageModel::Records IsoImageModel::RecordsOf(const std::string& name, EntryKind kind,
                                                const std::string& target) {
    const bool folder = kind == EntryKind::Folder;
    const std::int64_t used =
        Even(kRecordHead + IsoNameLength(name, folder) + (folder ? 0 : kVersion));
    const std::int64_t space = kLongestRecord - used;
    const auto nameField = kFieldHead + static_cast<std::int64_t>(name.size());
    const std::int64_t link = kind == EntryKind::Link ? SymlinkBytes(target) : 0;
    Records records;
    std::int64_t systemUse = kPosixAndTimes;
    if (systemUse + nameField + link <= space) {
        systemUse += nameField + link;
    } else {
        systemUse += kContinuationEntry;
        if (systemUse + nameField <= space) {
            systemUse += nameField;
        } else {
            records.continuation += kFieldHead + nameField - (space - systemUse);
            systemUse = space;
        }
        records.continuation += link;
    }
    records.iso = used + Even(systemUse);
    records.joliet = kJolietHead + 2 * JolietLength(name) + (folder ? 0 : kJolietVersion);
    return records;
}

// Records never cross a sector: where one does not fit, the rest of the
// sector stays empty, less than the largest record. With s sectors that is at
// most s - 1 such gaps, so s(2049 - m) <= bytes + 2048 - m.
std::int64_t IsoImageModel::Area::Sectors() const {
    if (bytes <= kSector)
        return bytes > 0 ? 1 : 0;
    const std::int64_t largestGap = std::min(largest, kSector);
    return std::max(SectorsOf(bytes), (bytes + kSector - largestGap) / (kSector + 1 - largestGap));
}

IsoImageModel::IsoImageModel() {
    Folder& root = folders_[""];
    root.iso = {kRootDotRecord + kDotRecord, kRootDotRecord};
    root.continuation = {kExtensionReference, kExtensionReference};
    root.joliet = {kJolietDots, kJolietDots / 2};
    folderSectors_ = FolderSectors(root);
    isoPathTable_ = kRootPathTableEntry;
    jolietPathTable_ = kRootPathTableEntry;
    const Records sums = RecordsOf(kSumsName, EntryKind::File, {});
    Record("", sums, 1);
}

void IsoImageModel::Add(const std::string& path, std::uint64_t size, EntryKind kind,
                        const std::string& target) {
    Change(path, size, kind, target, 1);
}

void IsoImageModel::Remove(const std::string& path, std::uint64_t size, EntryKind kind,
                           const std::string& target) {
    Change(path, size, kind, target, -1);
}

std::uint64_t IsoImageModel::ImageBytes() const {
    const std::int64_t metadata = kVolumeSectors + 2 * SectorsOf(isoPathTable_) +
                                  2 * SectorsOf(jolietPathTable_) + folderSectors_;
    const std::int64_t sectors = std::max(metadata, kLeastMetadataSectors) + kEmptyFileSectors +
                                 dataSectors_ + SectorsOf(sumsBytes_) + kPaddingSectors;
    return static_cast<std::uint64_t>(sectors * kSector);
}

void IsoImageModel::Change(const std::string& path, std::uint64_t size, EntryKind kind,
                           const std::string& target, int sign) {
    if (kind == EntryKind::Folder) {
        if (sign > 0) {
            ++Enter(path).holds;
        } else if (const auto found = folders_.find(path); found != folders_.end()) {
            --found->second.holds;
            Leave(path);
        }
        return;
    }
    const std::string parent = ParentOf(path);
    const Records records = RecordsOf(NameOf(path), kind, target);
    const auto sections = static_cast<std::int64_t>(
        kind == EntryKind::File ? std::max<std::uint64_t>(1, (size + kExtent - 1) / kExtent) : 1);
    if (sign > 0)
        Enter(parent);
    for (std::int64_t s = 0; s < sections; ++s)
        Record(parent, records, sign);
    if (kind == EntryKind::File)
        dataSectors_ += sign * SectorsOf(static_cast<std::int64_t>(size));
    sumsBytes_ += sign * SumLineBytes(path);
    if (sign < 0)
        Leave(parent);
}

IsoImageModel::Folder& IsoImageModel::Enter(const std::string& path) {
    if (const auto found = folders_.find(path); found != folders_.end())
        return found->second;
    const std::string parent = ParentOf(path);
    Enter(parent);
    Folder& folder = folders_[path];
    folder.parent = parent;
    folder.name = NameOf(path);
    folder.iso = {2 * kDotRecord, kDotRecord};
    folder.joliet = {kJolietDots, kJolietDots / 2};
    folderSectors_ += FolderSectors(folder);
    const std::int64_t isoName = IsoNameLength(folder.name, true);
    isoPathTable_ += kPathTableHead + Even(isoName);
    jolietPathTable_ += kPathTableHead + 2 * JolietLength(folder.name);
    const Records records = RecordsOf(folder.name, EntryKind::Folder, {});
    Record(parent, records, 1);
    return folder;
}

void IsoImageModel::Leave(const std::string& path) {
    const auto found = folders_.find(path);
    if (path.empty() || found == folders_.end() || found->second.entries > 0 ||
        found->second.holds > 0)
        return;
    const Folder folder = found->second;
    folderSectors_ -= FolderSectors(folder);
    isoPathTable_ -= kPathTableHead + Even(IsoNameLength(folder.name, true));
    jolietPathTable_ -= kPathTableHead + 2 * JolietLength(folder.name);
    folders_.erase(found);
    const Records records = RecordsOf(folder.name, EntryKind::Folder, {});
    Record(folder.parent, records, -1);
    Leave(folder.parent);
}

void IsoImageModel::Record(const std::string& parent, const Records& records, int sign) {
    Folder& folder = folders_.at(parent);
    folderSectors_ -= FolderSectors(folder);
    folder.entries += sign;
    folder.iso.bytes += sign * records.iso;
    folder.iso.largest = std::max(folder.iso.largest, records.iso);
    folder.joliet.bytes += sign * records.joliet;
    folder.joliet.largest = std::max(folder.joliet.largest, records.joliet);
    if (records.continuation > 0) {
        folder.continuation.bytes += sign * records.continuation;
        // A piece that would cross a sector starts the next one after a CE.
        folder.continuation.largest =
            std::max(folder.continuation.largest, records.continuation + kContinuationEntry);
    }
    folderSectors_ += FolderSectors(folder);
}

std::int64_t IsoImageModel::FolderSectors(const Folder& folder) const {
    return folder.iso.Sectors() + folder.continuation.Sectors() + folder.joliet.Sectors();
}

}  // namespace zv
