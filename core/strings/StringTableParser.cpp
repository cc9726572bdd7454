#include "core/strings/StringTableParser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

namespace zv {

namespace {

// Length of the UTF-8 sequence that starts at text[pos], or 0 when the bytes
// there are not a well-formed sequence (overlong forms and surrogates included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    if (byte(pos + 1) < low || byte(pos + 1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

std::string DecodeText(std::string_view raw, int line) {
    std::string text;
    text.reserve(raw.size());
    std::size_t pos = 0;
    while (pos < raw.size()) {
        const char c = raw[pos];
        if (c == '\\') {
            const std::string_view rest = raw.substr(pos);
            if (rest.starts_with("\\r\\n")) {
                text += "\r\n";
                pos += 4;
            } else if (rest.starts_with("\\t")) {
                text += '\t';
                pos += 2;
            } else if (rest.starts_with("\\\\")) {
                text += '\\';
                pos += 2;
            } else {
                throw StringTableSyntaxError(line,
                                             "unknown escape \"" + std::string(rest.substr(0, 2)) +
                                                 "\" (only \\r\\n, \\t and \\\\ are allowed)");
            }
            continue;
        }
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            throw StringTableSyntaxError(
                line, "control character " + std::to_string(static_cast<unsigned char>(c)) +
                          " in the text (write a line break as \\r\\n and a tab as \\t)");
        }
        const std::size_t length = Utf8SequenceLength(raw, pos);
        if (length == 0) {
            throw StringTableSyntaxError(line, "the text is not valid UTF-8");
        }
        text.append(raw.substr(pos, length));
        pos += length;
    }
    return text;
}

StringTableEntry ParseLine(std::string_view content, int line) {
    const std::size_t tab = content.find('\t');
    if (content.empty()) {
        throw StringTableSyntaxError(line, "blank line");
    }
    if (content.back() == '\r') {
        throw StringTableSyntaxError(
            line, "the line ends in a carriage return (save the file with LF line endings)");
    }
    if (tab == std::string_view::npos) {
        throw StringTableSyntaxError(line, "no tab between the id and the text");
    }
    const std::string_view digits = content.substr(0, tab);
    int id = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
    const bool allDigits = digits.find_first_not_of("0123456789") == std::string_view::npos;
    if (digits.empty() || !allDigits || error != std::errc() ||
        end != digits.data() + digits.size()) {
        throw StringTableSyntaxError(
            line, "the id \"" + std::string(digits) + "\" is not a decimal number");
    }
    const std::string_view rest = content.substr(tab + 1);
    const std::size_t nameTab = rest.find('\t');
    if (nameTab == std::string_view::npos)
        return {id, DecodeText(rest, line), {}};
    const std::string_view name = rest.substr(nameTab + 1);
    const bool goodName = !name.empty() && std::isalpha(static_cast<unsigned char>(name.front())) &&
                          std::all_of(name.begin(), name.end(), [](char c) {
                              return c >= 0 && std::isalnum(static_cast<unsigned char>(c));
                          });
    if (!goodName) {
        throw StringTableSyntaxError(line, "the name \"" + std::string(name) +
                                               "\" is not a letter followed by letters and digits");
    }
    return {id, DecodeText(rest.substr(0, nameTab), line), std::string(name)};
}

}  // namespace

std::vector<StringTableEntry> ParseStringTable(std::string_view source) {
    std::vector<StringTableEntry> entries;
    std::map<int, int> lineOfId;
    std::map<std::string, int> lineOfName;
    int line = 0;
    std::size_t start = 0;
    while (start < source.size()) {
        ++line;
        std::size_t stop = source.find('\n', start);
        if (stop == std::string_view::npos) {
            stop = source.size();
        }
        StringTableEntry entry = ParseLine(source.substr(start, stop - start), line);
        if (const auto seen = lineOfId.find(entry.id); seen != lineOfId.end()) {
            throw StringTableSyntaxError(line, "duplicate id " + std::to_string(entry.id) +
                                                   " (first on line " +
                                                   std::to_string(seen->second) + ")");
        }
        if (!entries.empty() && entry.id < entries.back().id) {
            throw StringTableSyntaxError(line, "id " + std::to_string(entry.id) +
                                                   " is out of order (it follows id " +
                                                   std::to_string(entries.back().id) + ")");
        }
        if (!entry.name.empty()) {
            const auto [seen, added] = lineOfName.emplace(entry.name, line);
            if (!added) {
                throw StringTableSyntaxError(line, "duplicate name " + entry.name +
                                                       " (first on line " +
                                                       std::to_string(seen->second) + ")");
            }
        }
        lineOfId.emplace(entry.id, line);
        entries.push_back(std::move(entry));
        start = stop + 1;
    }
    return entries;
}

}  // namespace zv
