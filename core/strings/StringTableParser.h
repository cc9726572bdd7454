#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

// One entry of the string table with its escapes turned into the characters
// they stand for.
struct StringTableEntry {
    int id;
    std::string text;
    // The name the code knows the text by; empty for texts only looked up by id.
    std::string name;
};

// A line of strings.tsv that the build cannot accept; Line() counts from 1.
class StringTableSyntaxError : public std::runtime_error {
  public:
    StringTableSyntaxError(int line, const std::string& message)
        : std::runtime_error(message), line_(line) {}

    int Line() const { return line_; }

  private:
    int line_;
};

// Reads the whole text of strings.tsv: one entry a line, the decimal id, one
// tab and the text, and optionally one more tab and the text's name (a letter,
// then letters and digits; each name once), ids strictly ascending. In a text `\r\n` stands for a
// carriage return and line feed, `\t` for a tab and `\\` for a backslash; every
// other backslash is refused, as are raw control characters, text that is not
// UTF-8, blank lines, a missing tab, a bad id, a repeated id and ids out of
// order, and bad or repeated names. Throws StringTableSyntaxError for the first fault found.
std::vector<StringTableEntry> ParseStringTable(std::string_view source);

}  // namespace zv
