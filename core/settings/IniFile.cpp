#include "core/settings/IniFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/platform/AtomicReplace.h"
#include "core/settings/IniSnapshot.h"
#include "core/settings/IniText.h"

namespace zv {

namespace fs = std::filesystem;

namespace {

// The file's content; nothing when it cannot be read. A missing file reads as empty.
std::optional<std::string> Load(const fs::path& path) {
    std::error_code error;
    const auto status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return std::string();
    if (error || status.type() != fs::file_type::regular ||
        fs::file_size(path, error) > kMaxSettingsFileBytes || error)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return content;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

std::optional<std::string> IniFile::Read(std::string_view section, std::string_view key) const {
    return IniSnapshot(path_).Read(section, key);
}

bool IniFile::Write(std::string_view section, std::string_view key, std::string_view value) const {
    // A line break would let a value open sections or keys of its own, and a
    // key that begins as a header does would make its line one with the value.
    if (IniText::Trim(section).empty() || IniText::Trim(key).empty() || HasLineBreak(section) ||
        HasLineBreak(key) || HasLineBreak(value) || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || IniText::Trim(key).starts_with('['))
        return false;

    fs::path target = path_;
    std::error_code error;
    if (fs::is_symlink(target, error)) {
        target = fs::canonical(target, error);
        if (error)
            return false;
    }
    if (IsReadOnlyFile(target.string()))
        return false;
    const auto content = Load(target);
    if (!content)
        return false;

    IniText text = IniText::Parse(*content);
    const std::string entry = std::string(key) + "=" + std::string(value);
    const std::size_t header = text.FindSection(section);
    if (header == std::string::npos) {
        if (!text.lines.empty() && !IniText::IsBlankLine(text.lines.back()))
            text.lines.emplace_back();
        text.lines.push_back("[" + std::string(section) + "]");
        text.lines.push_back(entry);
    } else if (const std::size_t line = text.FindKey(header, key); line != std::string::npos) {
        std::string& existing = text.lines[line];
        existing = existing.substr(0, existing.find('=') + 1) + std::string(value);
    } else {
        std::size_t last = text.SectionEnd(header) - 1;
        while (last > header && IniText::IsBlankLine(text.lines[last]))
            --last;
        text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(last + 1), entry);
    }
    return WriteFileAtomically(target.string(), text.Join()).ok();
}

}  // namespace zv
