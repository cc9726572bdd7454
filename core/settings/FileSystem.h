#pragma once

#include <string>

namespace zv {

// The questions the program asks of the file system, as its windows rely on
// them: a file is never a folder, a folder includes a mount point's root.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Deletes one file; throws PlatformError when it cannot.
void DeleteFile(const std::string& path);

}  // namespace zv
