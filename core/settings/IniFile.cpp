#include "core/settings/IniFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace zv {

namespace fs = std::filesystem;

namespace {

// The longest value a reader hands out, in bytes.
constexpr std::size_t kMaxValueBytes = 255;
constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// The name of a section line ("[name]"); nothing for any other line.
std::optional<std::string_view> SectionOf(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

// The key of a "key=value" line; nothing for section lines and lines without "=".
std::optional<std::string_view> KeyOf(std::string_view line) {
    if (SectionOf(line))
        return std::nullopt;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(0, equals));
}

bool IsBlankLine(std::string_view line) {
    return Trim(line).empty();
}

// Cuts a UTF-8 text to at most maxBytes without splitting a character.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    std::size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

// The file as lines without their line ends, and the way it ends its lines.
struct IniText {
    std::vector<std::string> lines;
    std::string lineEnd = "\n";
    bool bom = false;

    // The line of the section's header, or npos.
    std::size_t FindSection(std::string_view section) const {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto name = SectionOf(lines[i]);
            if (name && SameName(*name, section))
                return i;
        }
        return std::string::npos;
    }

    // The first line after the section's lines (the next header or the end).
    std::size_t SectionEnd(std::size_t header) const {
        std::size_t i = header + 1;
        while (i < lines.size() && !SectionOf(lines[i]))
            ++i;
        return i;
    }

    std::size_t FindKey(std::size_t header, std::string_view key) const {
        const std::size_t end = SectionEnd(header);
        for (std::size_t i = header + 1; i < end; ++i) {
            const auto name = KeyOf(lines[i]);
            if (name && SameName(*name, key))
                return i;
        }
        return std::string::npos;
    }
};

IniText Parse(std::string_view content) {
    IniText text;
    if (content.starts_with(kBom)) {
        text.bom = true;
        content.remove_prefix(kBom.size());
    }
    const auto firstBreak = content.find('\n');
    if (firstBreak != std::string_view::npos && firstBreak > 0 && content[firstBreak - 1] == '\r')
        text.lineEnd = "\r\n";
    while (!content.empty()) {
        const auto lineBreak = content.find('\n');
        std::string_view line = content.substr(0, lineBreak);
        content.remove_prefix(lineBreak == std::string_view::npos ? content.size() : lineBreak + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        text.lines.emplace_back(line);
    }
    return text;
}

std::string Join(const IniText& text) {
    std::string content = text.bom ? std::string(kBom) : std::string();
    for (const auto& line : text.lines)
        content += line + text.lineEnd;
    return content;
}

// The file's content; nothing when it cannot be read. A missing file reads as empty.
std::optional<std::string> Load(const fs::path& path) {
    std::error_code error;
    const auto status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return std::string();
    if (error || status.type() != fs::file_type::regular)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return content;
}

// A file whose write permission is taken away counts as read-only even for a
// user whom the system would let write anyway.
bool IsReadOnly(const fs::path& path) {
    std::error_code error;
    const auto status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return false;
    constexpr auto writable =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return error || (status.permissions() & writable) == fs::perms::none ||
           ::access(path.c_str(), W_OK) != 0;
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const auto written = ::write(fd, content.data(), content.size());
        if (written < 0)
            return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Writes the content beside the target and moves it into place, so that the
// target is either the old file or the complete new one.
bool ReplaceFile(const fs::path& target, std::string_view content) {
    std::string tempName = target.string() + ".XXXXXX";
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        return false;

    std::error_code error;
    const auto old = fs::status(target, error);
    mode_t mode;
    if (old.type() == fs::file_type::regular) {
        mode = static_cast<mode_t>(old.permissions() & fs::perms::mask);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    bool ok = WriteAll(fd, content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(tempName.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(tempName.c_str());
    return ok;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) const {
    const auto content = Load(path_);
    if (!content)
        return std::nullopt;
    const IniText text = Parse(*content);
    const std::size_t header = text.FindSection(section);
    if (header == std::string::npos)
        return std::nullopt;
    const std::size_t line = text.FindKey(header, key);
    if (line == std::string::npos)
        return std::nullopt;

    std::string_view value = text.lines[line];
    value = value.substr(value.find('=') + 1);
    value = value.substr(0, value.find('\0'));
    value = CutUtf8(Trim(value), kMaxValueBytes);
    if (value.empty())
        return std::nullopt;
    return std::string(value);
}

bool IniFile::Write(std::string_view section, std::string_view key, std::string_view value) const {
    // A line break would let a value open sections or keys of its own.
    if (Trim(section).empty() || Trim(key).empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || SectionOf(key))
        return false;

    fs::path target = path_;
    std::error_code error;
    if (fs::is_symlink(target, error)) {
        target = fs::canonical(target, error);
        if (error)
            return false;
    }
    if (IsReadOnly(target))
        return false;
    const auto content = Load(target);
    if (!content)
        return false;

    IniText text = Parse(*content);
    const std::string entry = std::string(key) + "=" + std::string(value);
    const std::size_t header = text.FindSection(section);
    if (header == std::string::npos) {
        if (!text.lines.empty() && !IsBlankLine(text.lines.back()))
            text.lines.emplace_back();
        text.lines.push_back("[" + std::string(section) + "]");
        text.lines.push_back(entry);
    } else if (const std::size_t line = text.FindKey(header, key); line != std::string::npos) {
        std::string& existing = text.lines[line];
        existing = existing.substr(0, existing.find('=') + 1) + std::string(value);
    } else {
        std::size_t last = text.SectionEnd(header) - 1;
        while (last > header && IsBlankLine(text.lines[last]))
            --last;
        text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(last + 1), entry);
    }
    return ReplaceFile(target, Join(text));
}

}  // namespace zv
