#include "core/settings/ProgramPaths.h"

#include <filesystem>

namespace zv {

namespace {

// Empty while the program folder is the executable's own.
std::string& FolderOverride() {
    static std::string folder;
    return folder;
}

}  // namespace

const std::string& ExeBaseName() {
    static const std::string name = "zarvopack";
    return name;
}

std::string ProgramFolder() {
    if (!FolderOverride().empty())
        return FolderOverride();
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    // Without /proc the program can only fall back on the folder it was started in.
    if (error)
        return ".";
    return executable.parent_path().string();
}

void SetProgramFolder(const std::string& folder) {
    FolderOverride() = folder;
}

std::string SettingsFilePath() {
    return ProgramFolder() + "/" + ExeBaseName() + ".dat";
}

}  // namespace zv
