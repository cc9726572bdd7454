#include "desktop/dialogs/FolderScan.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>

namespace zv {

namespace {

namespace fs = std::filesystem;

// Where the system keeps its restore points and indexes: never the user's.
constexpr const char* kSystemFolder = "System Volume Information";

std::int64_t MillisecondsSince1970(fs::file_time_type time) {
    using namespace std::chrono;
    return duration_cast<milliseconds>(file_clock::to_sys(time).time_since_epoch()).count();
}

}  // namespace

FolderScan::FolderScan(const std::string& start, bool subfolders, Mode mode)
    : subfolders_(subfolders || mode == Mode::Measure), mode_(mode), queue_{start} {}

bool FolderScan::WalkNext() {
    if (next_ >= queue_.size())
        return false;
    const fs::path folder = queue_[next_++];
    if (folder.filename() == kSystemFolder)
        return true;

    const std::size_t folderIndex = files_.folders.size();
    bool holdsFiles = false;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::directory_entry& entry = *it;
        std::error_code failed;
        if (entry.is_directory(failed)) {
            if (subfolders_ && !entry.is_symlink(failed))
                queue_.push_back(entry.path().string());
            continue;
        }
        if (!entry.is_regular_file(failed))
            continue;
        const auto size = entry.file_size(failed);
        if (failed)
            continue;
        const auto modified = entry.last_write_time(failed);
        if (failed)
            continue;
        bytes_ += static_cast<double>(size);
        if (mode_ == Mode::Measure)
            continue;
        if (!holdsFiles) {
            files_.folders.push_back(QString::fromStdString(folder.string()));
            holdsFiles = true;
        }
        files_.files.push_back({folderIndex,
                                QString::fromStdString(entry.path().filename().string()),
                                static_cast<double>(size), MillisecondsSince1970(modified)});
    }
    return true;
}

int ScaledProgress(double bytes, double total) {
    if (!(total > 0) || !(bytes > 0))
        return 0;
    const double unit = total / kProgressMaximum;
    return static_cast<int>(std::min<double>(std::floor(bytes / unit), kProgressMaximum));
}

}  // namespace zv
