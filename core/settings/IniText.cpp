#include "core/settings/IniText.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace zv {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEBom = "\xFF\xFE";
constexpr std::string_view kUtf16BEBom = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character at the start of a UTF-8 text and the bytes it takes; a byte
// that begins no well-formed character stands for U+FFFD on its own.
std::pair<char32_t, std::size_t> NextUtf8(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return {kReplacement, 1};
    }
    if (text.size() < length)
        return {kReplacement, 1};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return {kReplacement, 1};
        c = (c << 6) | (byte(i) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {kReplacement, 1};
    return {c, length};
}

std::string FromUtf16(std::string_view bytes, bool bigEndian) {
    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    std::string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(text, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
    }
    if (i < bytes.size())
        AppendUtf8(text, kReplacement);
    return text;
}

std::string ToUtf16(std::string_view text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    const auto append = [&](char32_t unit) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    };
    while (!text.empty()) {
        const auto [c, length] = NextUtf8(text);
        text.remove_prefix(length);
        if (c >= 0x10000) {
            append(0xD800 + ((c - 0x10000) >> 10));
            append(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            append(c);
        }
    }
    return bytes;
}

}  // namespace

IniText IniText::Parse(std::string_view bytes) {
    IniText text;
    std::string decoded;
    std::tie(decoded, text.encoding) = Decode(std::string(bytes));
    for (const std::string_view line : SplitLines(decoded, text.lineEnd))
        text.lines.emplace_back(line);
    return text;
}

std::pair<std::string, IniEncoding> IniText::Decode(std::string bytes) {
    const std::string_view start = bytes;
    if (start.starts_with(kUtf8Bom)) {
        bytes.erase(0, kUtf8Bom.size());
        return {std::move(bytes), IniEncoding::Utf8Bom};
    }
    if (start.starts_with(kUtf16LEBom) || start.starts_with(kUtf16BEBom)) {
        const bool bigEndian = start.starts_with(kUtf16BEBom);
        return {FromUtf16(start.substr(2), bigEndian),
                bigEndian ? IniEncoding::Utf16BE : IniEncoding::Utf16LE};
    }
    return {std::move(bytes), IniEncoding::Utf8};
}

std::vector<std::string_view> IniText::SplitLines(std::string_view text, std::string& lineEnd) {
    std::vector<std::string_view> lines;
    bool firstBreak = true;
    while (!text.empty()) {
        const auto lineBreak = text.find_first_of("\r\n");
        lines.push_back(text.substr(0, lineBreak));
        if (lineBreak == std::string_view::npos)
            break;
        const std::size_t breakLength = text.substr(lineBreak, 2) == "\r\n" ? 2 : 1;
        if (firstBreak) {
            lineEnd = text.substr(lineBreak, breakLength);
            firstBreak = false;
        }
        text.remove_prefix(lineBreak + breakLength);
    }
    return lines;
}

std::string IniText::Join() const {
    std::string content;
    for (const auto& line : lines)
        content += line + lineEnd;
    switch (encoding) {
        case IniEncoding::Utf8:
            return content;
        case IniEncoding::Utf8Bom:
            return std::string(kUtf8Bom) + content;
        case IniEncoding::Utf16LE:
            return std::string(kUtf16LEBom) + ToUtf16(content, false);
        case IniEncoding::Utf16BE:
            return std::string(kUtf16BEBom) + ToUtf16(content, true);
    }
    return content;
}

std::size_t IniText::FindSection(std::string_view section) const {
    section = Trim(section);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionOf(lines[i]);
        if (name && SameName(*name, section))
            return i;
    }
    return std::string::npos;
}

std::size_t IniText::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines.size() && !SectionOf(lines[i]))
        ++i;
    return i;
}

std::size_t IniText::FindKey(std::size_t header, std::string_view key) const {
    key = Trim(key);
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto name = KeyOf(lines[i]);
        if (name && SameName(*name, key))
            return i;
    }
    return std::string::npos;
}

std::string_view IniText::Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IniText::IsBlankLine(std::string_view line) {
    return Trim(line).empty();
}

bool IniText::SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::optional<std::string_view> IniText::SectionOf(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

std::optional<std::string_view> IniText::KeyOf(std::string_view line) {
    if (SectionOf(line))
        return std::nullopt;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(0, equals));
}

}  // namespace zv
