#include "cli/ItemCollector.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "cli/CliOptions.h"
#include "core/project/ProjectDocument.h"
#include "core/settings/TextNumber.h"

namespace zv {

namespace fs = std::filesystem;

namespace {

// The largest count of bytes a double holds exactly: beyond it sizes would
// round, and totals with them.
constexpr double kMaxBytes = 9007199254740992.0;  // 2^53
constexpr size_t kMaxSizeDigits = 16;             // the digits of 2^53
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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
        throw Failure("cannot read the size of '" + path.string() + "': " + error.message());
    return static_cast<double>(size);
}

// What no disc can hold, named as people know it; empty for what a disc holds.
std::string NoDiscKind(fs::file_type type) {
    switch (type) {
        case fs::file_type::fifo:
            return "a FIFO";
        case fs::file_type::socket:
            return "a socket";
        case fs::file_type::block:
            return "a block device";
        case fs::file_type::character:
            return "a character device";
        case fs::file_type::regular:
        case fs::file_type::directory:
        case fs::file_type::symlink:
            return {};
        default:
            return "of an unknown kind";
    }
}

// Whole bytes in plain digits: "1e300" and "1.5" are not sizes of a file.
std::optional<double> ByteCount(const std::string& text) {
    if (text.empty() || text.size() > kMaxSizeDigits ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const double bytes = std::stod(text);
    if (bytes > kMaxBytes)
        return std::nullopt;
    return bytes;
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
    const fs::file_status own = fs::symlink_status(path, error);
    if (own.type() == fs::file_type::not_found)
        throw UsageError("'" + path + "' does not exist");
    if (error)
        throw Failure("cannot look at '" + path + "': " + error.message());
    if (fs::is_directory(own) || (fs::is_symlink(own) && fs::is_directory(path, error))) {
        AddFolder(path);
        return;
    }
    const std::string full = FullPath(path);
    const std::string kind = NoDiscKind(own.type());
    if (!kind.empty()) {
        skipped_.push_back({full, kind});
        return;
    }
    const Found file{full, fs::is_symlink(own) ? 0 : FileSize(full)};
    Count(file);
    AddFile(file.path, file.size);
}

// Every entry below `folder` that a disc holds, in `found`; the number of
// them. What cannot be read fails the whole plan: the plan would otherwise
// leave its files out without a word.
std::size_t ItemCollector::Walk(const std::string& folder, std::vector<Found>& found) {
    const std::size_t before = found.size();
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        const fs::file_status own = it->symlink_status(typeError);
        const std::string path = FullPath(it->path());
        if (typeError || own.type() == fs::file_type::not_found) {
            throw Failure("cannot read '" + it->path().string() +
                          "': " + (typeError ? typeError.message() : "it has gone"));
        }
        if (fs::is_directory(own)) {
            // A folder holding nothing else is kept as itself.
            if (Walk(path, found) == 0) {
                found.push_back({path, 0});
                Count(found.back());
            }
        } else if (const std::string kind = NoDiscKind(own.type()); !kind.empty()) {
            skipped_.push_back({path, kind});
        } else {
            found.push_back({path, fs::is_regular_file(own) ? FileSize(path) : 0});
            Count(found.back());
        }
    }
    if (error)
        throw Failure("cannot read the folder '" + folder + "': " + error.message());
    return found.size() - before;
}

void ItemCollector::Count(const Found& entry) {
    ++entries_;
    bytes_ += entry.size;
    if (progress_)
        progress_(entries_, bytes_);
}

void ItemCollector::AddFolder(const std::string& folder) {
    const std::string full = FullPath(folder);
    std::vector<Found> found;
    if (Walk(full, found) == 0) {
        found.push_back({full, 0});
        Count(found.back());
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.path < b.path; });

    if (!groupFolders_) {
        for (const Found& entry : found)
            AddFile(entry.path, entry.size);
        return;
    }
    const std::string name = fs::path(full).filename().string();
    ProjectItem group;
    group.name = name.empty() ? full : name;
    for (const ProjectItem& item : items_) {
        if (SameName(item.name, group.name)) {
            throw UsageError("two groups would be named '" + group.name + "'");
        }
    }
    for (const Found& entry : found) {
        if (!Registered(entry.path))
            group.members.push_back({entry.path, entry.size});
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
    if (items_.size() > static_cast<size_t>(kMaxProjectItems)) {
        throw UsageError("too many items: a project holds at most " +
                         FormatGrouped(kMaxProjectItems));
    }
}

namespace {

// The file system's own limits: a path of at most 4,096 bytes, each of its
// names at most 255. A line may hold a size and blanks besides.
constexpr size_t kMaxPathBytes = 4096;
constexpr size_t kMaxNameBytes = 255;
constexpr size_t kMaxLineBytes = kMaxPathBytes + 256;

// std::getline, but a line longer than `limit` is not read whole: false and
// `line` cut there, so that a list of any line length costs bounded memory.
bool GetBoundedLine(std::istream& lines, std::string& line, bool& tooLong, size_t limit) {
    line.clear();
    tooLong = false;
    std::streambuf& buffer = *lines.rdbuf();
    for (;;) {
        const int c = buffer.sbumpc();
        if (c == std::char_traits<char>::eof()) {
            lines.setstate(std::ios::eofbit);
            return !line.empty();
        }
        if (c == '\n')
            return true;
        if (line.size() == limit) {
            tooLong = true;
            return true;
        }
        line.push_back(static_cast<char>(c));
    }
}

bool HasLongName(const std::string& path) {
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        if (end - start > kMaxNameBytes)
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

void ItemCollector::AddSizeList(std::istream& lines, const std::string& source) {
    std::string line;
    bool tooLong = false;
    for (int number = 1; GetBoundedLine(lines, line, tooLong, kMaxLineBytes); ++number) {
        if (tooLong)
            throw UsageError(source + ":" + std::to_string(number) + ": the line is longer than " +
                             std::to_string(kMaxLineBytes) + " bytes");
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // Editors on some systems begin a UTF-8 text with a byte-order mark.
        if (number == 1 && line.starts_with(kByteOrderMark))
            line.erase(0, kByteOrderMark.size());
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
        const std::optional<double> size = ByteCount(sizeText);
        if (!size) {
            throw UsageError(where + "'" + sizeText +
                             "' is not a whole number of bytes in digits, at most "
                             "9007199254740992");
        }
        // Every line is an item of its own: a list may well name two files of
        // the same name from different places, and neither may go missing.
        const std::string name = line.substr(nameStart);
        if (name.size() > kMaxPathBytes || HasLongName(name)) {
            throw UsageError(where + "a name is longer than the file system's " +
                             std::to_string(kMaxPathBytes) + " bytes for a path or " +
                             std::to_string(kMaxNameBytes) + " for one of its names");
        }
        items_.push_back({name, 0, {{name, *size}}});
        CheckCount();
    }
}

}  // namespace zv
