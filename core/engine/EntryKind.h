#pragma once

#include <filesystem>
#include <string>

namespace zv {

// What a thing on a medium is, looked at without following a link: it decides
// what its records cost in an image and how an export recreates it.
enum class EntryKind {
    File,
    // An (empty) folder kept as a folder of its own.
    Folder,
    // A symbolic link, kept as a link: a Rock Ridge SL entry and no data.
    Link,
};

// What `path` is on the disk now, without following a link; a link's target
// goes to `linkTarget`. A path that is not there (an item of a size list) is
// a file.
EntryKind KindOnDisk(const std::filesystem::path& path, std::string& linkTarget);

}  // namespace zv
