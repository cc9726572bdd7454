#pragma once

#include <string>

namespace zv {

// The file that a save to `path` writes, as an absolute path: where the chain
// of symbolic links starting at `path` ends, so that a link stays a link and
// its target receives the project; `path` itself when it is no link. Throws
// Failure for a chain that does not end.
std::string SaveTarget(const std::string& path);

// Throws Failure unless a save may replace what is at `path` (a path already
// resolved by SaveTarget): nothing, a regular file holding a project, or with
// `force` any regular file. Folders, devices and the like are never replaced,
// nor is a read-only file.
void CheckReplaceable(const std::string& path, bool force);

}  // namespace zv
