#include "core/settings/ProgramPaths.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace zv {

namespace {

// Empty while the program folder is the executable's own.
std::string& FolderOverride() {
    static std::string folder;
    return folder;
}

std::string SettingsFileName() {
    return ExeBaseName() + ".dat";
}

Status Failure(const std::error_code& code, const std::string& what, const std::string& path) {
    return {code, what + " '" + path + "': " + code.message()};
}

}  // namespace

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_dir)
        return entry->pw_dir;
    return "/";
}

std::string UserBaseFolder(const char* variable, const std::string& fallback) {
    const char* folder = std::getenv(variable);
    // Only an absolute path counts; the convention says to ignore any other.
    if (folder != nullptr && folder[0] == '/')
        return folder;
    return HomeFolder() + "/" + fallback;
}

const std::string& ExeBaseName() {
    static const std::string name = "zarvopack";
    return name;
}

std::string ProgramFolder() {
    if (!FolderOverride().empty())
        return FolderOverride();
    std::error_code error;
    const auto executable = fs::read_symlink("/proc/self/exe", error);
    // Without /proc the program can only fall back on the folder it was started in.
    if (error)
        return ".";
    return executable.parent_path().string();
}

void SetProgramFolder(const std::string& folder) {
    FolderOverride() = folder;
}

SettingsLocation FindSettingsFile(const std::string& programFolder) {
    const std::string beside = programFolder + "/" + SettingsFileName();
    std::error_code error;
    if (fs::is_regular_file(beside, error))
        return {beside, true};
    return {UserBaseFolder("XDG_CONFIG_HOME", ".config") + "/" + ExeBaseName() + "/" +
                SettingsFileName(),
            false};
}

SettingsLocation SettingsFile() {
    if (!FolderOverride().empty())
        return {FolderOverride() + "/" + SettingsFileName(), true};
    // Every read and write of a run goes to the same file, even if one is put
    // beside the program meanwhile.
    static const SettingsLocation chosen = FindSettingsFile(ProgramFolder());
    return chosen;
}

std::string SettingsFilePath() {
    return SettingsFile().path;
}

std::string ShippedDataFolder(const std::string& programFolder) {
    return (fs::path(programFolder).parent_path() / "share" / ExeBaseName()).string();
}

Status PrepareSettingsFile(const SettingsLocation& settings, const std::string& defaults) {
    std::error_code error;
    if (settings.besideProgram || fs::exists(settings.path, error))
        return {};
    const fs::path folder = fs::path(settings.path).parent_path();
    // The folder may hold the names of the user's projects (the recent files).
    if (fs::create_directories(folder, error))
        fs::permissions(folder, fs::perms::owner_all, error);
    if (error)
        return Failure(error, "cannot make the settings folder", folder.string());
    const std::string shipped = defaults + "/" + SettingsFileName();
    if (!fs::is_regular_file(shipped, error))
        return {};
    std::ifstream in(shipped, std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return Failure(std::error_code(errno, std::generic_category()), "cannot read", shipped);
    // A new file of the user's alone from its first byte on; one that appeared
    // meanwhile (another copy starting) is theirs as it is.
    const int fd = ::open(settings.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST)
            return {};
        return Failure(std::error_code(errno, std::generic_category()), "cannot create",
                       settings.path);
    }
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    const int writeError = written == content.size() ? 0 : errno;
    if (::close(fd) != 0 || writeError != 0) {
        const std::error_code code(writeError != 0 ? writeError : errno, std::generic_category());
        fs::remove(settings.path, error);
        return Failure(code, "cannot write", settings.path);
    }
    return {};
}

Status PrepareSettingsFile() {
    return PrepareSettingsFile(SettingsFile(), ShippedDataFolder(ProgramFolder()));
}

}  // namespace zv
