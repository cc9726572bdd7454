#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zv {

// How an INI file's bytes are encoded. A rewrite keeps the encoding it found.
enum class IniEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE };

// An INI file as lines of UTF-8 text without their line ends, with the way it
// ends its lines and its encoding. Section and key names match without regard
// to letter case.
struct IniText {
    std::vector<std::string> lines;
    std::string lineEnd = "\n";
    IniEncoding encoding = IniEncoding::Utf8;

    // The text of a file: UTF-8 with or without a byte order mark, or UTF-16
    // of either byte order with one; lines end with CR LF, LF or CR alone.
    // What is no character of its encoding reads as U+FFFD.
    static IniText Parse(std::string_view bytes);
    // The file's bytes again, in its encoding and with its line ends.
    std::string Join() const;

    // The UTF-8 text of a file's bytes, without a byte order mark, and the
    // encoding they were in.
    static std::pair<std::string, IniEncoding> Decode(std::string bytes);
    // The lines of a text without their line ends; `lineEnd` becomes the
    // first line end met, and stays as it was in a text of one line.
    static std::vector<std::string_view> SplitLines(std::string_view text, std::string& lineEnd);

    // The line of the section's first header, or npos. Names are taken
    // without blanks around them, as the file's lines are read.
    std::size_t FindSection(std::string_view section) const;
    // The first line after the section's lines (the next header or the end).
    std::size_t SectionEnd(std::size_t header) const;
    // The line of the key's first occurrence in the section, or npos.
    std::size_t FindKey(std::size_t header, std::string_view key) const;

    static std::string_view Trim(std::string_view text);
    static bool IsBlankLine(std::string_view line);
    static bool SameName(std::string_view a, std::string_view b);
    // The name of a section line ("[name]"); nothing for any other line.
    static std::optional<std::string_view> SectionOf(std::string_view line);
    // The key of a "key=value" line; nothing for section lines and lines
    // without "=".
    static std::optional<std::string_view> KeyOf(std::string_view line);
};

}  // namespace zv
