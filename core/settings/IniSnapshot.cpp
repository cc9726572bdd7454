#include "core/settings/IniSnapshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "core/settings/IniText.h"
#include "core/settings/SettingsValueError.h"

namespace zv {

namespace {

// The longest value a reader hands out, in bytes.
constexpr std::size_t kMaxValueBytes = 255;
constexpr std::size_t kMaxFileBytes = kMaxSettingsFileBytes;

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// Names are taken without blanks around them, as the file's lines are read.
std::string IndexKey(std::string_view section, std::string_view key) {
    return LowerAscii(IniText::Trim(section)) + '\n' + LowerAscii(IniText::Trim(key));
}

bool IsContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Cuts a UTF-8 text to at most maxBytes without splitting a character. A
// character takes at most four bytes, so bytes that begin none are cut at the
// limit itself.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    for (std::size_t end = maxBytes; end > 0 && end + 3 >= maxBytes; --end) {
        if (!IsContinuationByte(text[end]))
            return text.substr(0, end);
    }
    return text.substr(0, maxBytes);
}

struct FileCloser {
    int fd;
    ~FileCloser() { ::close(fd); }
};

// The file's bytes, or why they cannot be had. A file that is not there
// reads as empty. Opening does not wait on a pipe put in the file's place.
std::string LoadBytes(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            error = std::generic_category().message(errno);
        return {};
    }
    const FileCloser closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        error = std::generic_category().message(errno);
        return {};
    }
    if (!S_ISREG(status.st_mode)) {
        error = std::generic_category().message(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
        return {};
    }
    const std::string tooLarge =
        "larger than the " + std::to_string(kMaxFileBytes >> 20) + " MiB a settings file may be";
    if (static_cast<std::size_t>(status.st_size) > kMaxFileBytes) {
        error = tooLarge;
        return {};
    }
    // Read in one piece where the size holds; a file that grows meanwhile
    // is read to its new end all the same, up to the limit.
    std::string bytes(static_cast<std::size_t>(status.st_size) + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled > kMaxFileBytes) {
            error = tooLarge;
            return {};
        }
        if (filled == bytes.size())
            bytes.resize(std::min(bytes.size() * 2, kMaxFileBytes + 1));
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = std::generic_category().message(errno);
            return {};
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace

IniSnapshot::IniSnapshot(std::string path) : path_(std::move(path)) {
    text_ = IniText::Decode(LoadBytes(path_, readError_)).first;
    // A later header of a section that came before ends the keys a reader
    // sees: it only looks in the first one.
    std::unordered_set<std::string> seen;
    std::optional<std::string> section;
    std::string lineEnd;
    for (const std::string_view line : IniText::SplitLines(text_, lineEnd)) {
        if (const auto name = IniText::SectionOf(line)) {
            section = LowerAscii(*name);
            if (!seen.insert(*section).second)
                section.reset();
        } else if (const auto key = IniText::KeyOf(line); key && section) {
            const auto start = static_cast<std::size_t>(line.data() - text_.data());
            keys_.try_emplace(*section + '\n' + LowerAscii(*key), start, line.size());
        }
    }
}

std::optional<std::string> IniSnapshot::Read(std::string_view section, std::string_view key) const {
    const auto found = keys_.find(IndexKey(section, key));
    if (found == keys_.end())
        return std::nullopt;
    std::string_view value =
        std::string_view(text_).substr(found->second.first, found->second.second);
    value = value.substr(value.find('=') + 1);
    value = value.substr(0, value.find('\0'));
    // A cut may end on blanks that stood inside the value.
    value = IniText::Trim(CutUtf8(IniText::Trim(value), kMaxValueBytes));
    if (value.empty())
        return std::nullopt;
    return std::string(value);
}

std::optional<std::string> IniSnapshot::Value(std::string_view section,
                                              std::string_view key) const {
    if (!readError_.empty()) {
        throw SettingsValueError::Unreadable(path_, std::string(section), std::string(key),
                                             readError_);
    }
    return Read(section, key);
}

}  // namespace zv
