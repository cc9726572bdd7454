#include "cli/ItemCollector.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "cli/CliOptions.h"
#include "core/settings/TextNumber.h"

namespace zv {

namespace fs = std::filesystem;

namespace {

// GROUP numbers run from 0 to 32,766.
constexpr size_t kMaxItems = 32767;

std::string FullPath(const fs::path& path) {
    std::error_code error;
    fs::path full = fs::absolute(path, error).lexically_normal();
    std::string text = full.string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

double FileSize(const fs::path& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error)
        throw UsageError("cannot read the size of '" + path.string() + "'");
    return static_cast<double>(size);
}

bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

void ItemCollector::AddPath(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status)) {
        AddFolder(path);
    } else if (fs::is_regular_file(status)) {
        const std::string full = FullPath(path);
        AddFile(full, FileSize(full));
    } else if (fs::exists(status)) {
        throw UsageError("'" + path + "' is neither a file nor a folder");
    } else {
        throw UsageError("'" + path + "' does not exist");
    }
}

void ItemCollector::AddFolder(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator
             it(folder, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            files.push_back(FullPath(it->path()));
    }
    if (error)
        throw UsageError("cannot read the folder '" + folder + "'");
    std::sort(files.begin(), files.end());

    if (!groupFolders_) {
        for (const std::string& file : files)
            AddFile(file, FileSize(file));
        return;
    }
    const std::string name = fs::path(FullPath(folder)).filename().string();
    ProjectItem group;
    group.name = name.empty() ? FullPath(folder) : name;
    for (const ProjectItem& item : items_) {
        if (SameName(item.name, group.name)) {
            throw UsageError("two groups would be named '" + group.name + "'");
        }
    }
    for (const std::string& file : files) {
        if (!Registered(file))
            group.members.push_back({file, FileSize(file)});
    }
    if (group.members.empty())
        return;
    items_.push_back(std::move(group));
    CheckCount();
}

void ItemCollector::AddFile(const std::string& path, double size) {
    if (Registered(path))
        return;
    items_.push_back({path, 0, {{path, size}}});
    CheckCount();
}

bool ItemCollector::Registered(const std::string& path) {
    return !registered_.insert(path).second;
}

void ItemCollector::CheckCount() const {
    if (items_.size() > kMaxItems) {
        throw UsageError("too many items: a project holds at most 32,767");
    }
}

void ItemCollector::AddSizeList(std::istream& lines, const std::string& source) {
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t sizeStart = line.find_first_not_of(" \t");
        if (sizeStart == std::string::npos)
            continue;
        const size_t sizeEnd = line.find_first_of(" \t", sizeStart);
        const size_t nameStart =
            sizeEnd == std::string::npos ? sizeEnd : line.find_first_not_of(" \t", sizeEnd);
        const std::string where = source + ":" + std::to_string(number) + ": ";
        if (nameStart == std::string::npos)
            throw UsageError(where + "expected SIZE NAME");

        const std::string sizeText = line.substr(sizeStart, sizeEnd - sizeStart);
        const std::optional<double> size = ParseNumber(sizeText);
        if (!size || *size < 0 || *size != std::floor(*size)) {
            throw UsageError(where + "'" + sizeText + "' is not a whole number of bytes");
        }
        AddFile(line.substr(nameStart), *size);
    }
}

}  // namespace zv
