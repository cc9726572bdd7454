#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "core/engine/EntryKind.h"

namespace zv {

// The size of the ISO 9660 image xorriso (libisofs 1.5) writes as the export
// makes it: "-as mkisofs -r -J -iso-level 3", Rock Ridge 1.12, the files at
// their paths below the common folder and the medium's SHA256SUMS in the root.
// Entries come and go one at a time, so a packer can ask what a medium's image
// takes after each change; each change costs the depth of its path.
//
// Everything that depends only on the names is exact: the records in both
// trees with their Rock Ridge entries and continuation areas, the path tables,
// each file in whole sectors, the volume's own sectors and xorriso's padding.
// What would depend on the order libisofs gives the names (where a record
// moves to the next sector, where a continuation area must start a new one)
// is taken at its worst, and ISO 9660 names at their longest: the estimate is
// never below the image, and a folder's directory takes at most a few sectors
// more than it does.
class IsoImageModel {
  public:
    IsoImageModel();

    // `path` is the entry's path on the medium, parts separated by '/'; the
    // folders above it come with it. A link's `target` is what it points to.
    void Add(const std::string& path, std::uint64_t size, EntryKind kind,
             const std::string& target = {});
    // Takes back an Add with the same arguments, and the folders only it
    // needed.
    void Remove(const std::string& path, std::uint64_t size, EntryKind kind,
                const std::string& target = {});

    // The bytes of the whole image.
    std::uint64_t ImageBytes() const;

  private:
    // One directory's bytes in the ISO 9660 tree, its Rock Ridge continuation
    // area and the Joliet tree: their sums and the largest piece of each,
    // which bounds the room lost where a sector ends.
    struct Area {
        std::int64_t bytes = 0;
        std::int64_t largest = 0;
        std::int64_t Sectors() const;
    };
    struct Folder {
        std::string parent;
        std::string name;
        Area iso;
        Area continuation;
        Area joliet;
        int entries = 0;  // files, links and folders in it
        int holds = 0;    // times it was added as an entry of its own
    };
    struct Records {
        std::int64_t iso = 0;
        std::int64_t continuation = 0;
        std::int64_t joliet = 0;
    };

    static Records RecordsOf(const std::string& name, EntryKind kind, const std::string& target);
    void Change(const std::string& path, std::uint64_t size, EntryKind kind,
                const std::string& target, int sign);
    // The folder at `path`, made with its parents when it is not there.
    Folder& Enter(const std::string& path);
    // Drops the folder at `path` and the parents it alone kept, once nothing
    // is in it and nothing holds it.
    void Leave(const std::string& path);
    // Adds (`sign` 1) or removes (-1) an entry's records in folder `parent`.
    void Record(const std::string& parent, const Records& records, int sign);
    std::int64_t FolderSectors(const Folder& folder) const;

    std::unordered_map<std::string, Folder> folders_;
    std::int64_t folderSectors_ = 0;
    std::int64_t isoPathTable_ = 0;
    std::int64_t jolietPathTable_ = 0;
    std::int64_t dataSectors_ = 0;
    std::int64_t sumsBytes_ = 0;
};

}  // namespace zv
