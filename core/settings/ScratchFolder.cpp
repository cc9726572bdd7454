#include "core/settings/ScratchFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/settings/ProgramPaths.h"

namespace fs = std::filesystem;

namespace zv {

namespace {

// A folder of this user's in which nobody else can rename or replace what it
// holds, and no link to one elsewhere.
bool IsOwnFolder(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A new folder of an unforeseeable name in `parent`, or empty.
std::string MakeUniqueFolder(const std::string& parent) {
    std::string name = parent + "/" + ExeBaseName() + "-XXXXXX";
    return ::mkdtemp(name.data()) != nullptr ? name : std::string();
}

std::string MakeScratchFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && runtime[0] == '/' && IsOwnFolder(runtime)) {
        if (std::string folder = MakeUniqueFolder(runtime); !folder.empty())
            return folder;
    }
    const std::string cache = UserBaseFolder("XDG_CACHE_HOME", ".cache") + "/" + ExeBaseName();
    std::error_code error;
    if (fs::create_directories(cache, error))
        fs::permissions(cache, fs::perms::owner_all, error);
    if (IsOwnFolder(cache)) {
        if (std::string folder = MakeUniqueFolder(cache); !folder.empty())
            return folder;
    }
    const fs::path temporary = fs::temp_directory_path(error);
    return error ? std::string() : MakeUniqueFolder(temporary.string());
}

// Removes the folder at the process's end, unless something is left in it.
class Scratch {
  public:
    Scratch() : path_(MakeScratchFolder()) {}
    ~Scratch() {
        if (!path_.empty())
            ::rmdir(path_.c_str());
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace

std::string ScratchFolder() {
    static const Scratch scratch;
    return scratch.Path();
}

Status CreatePrivateFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST)
        return {std::error_code(errno, std::generic_category()), "cannot create '" + path + "'"};
    if (fd >= 0)
        ::close(fd);
    return {};
}

}  // namespace zv
