#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace zv {

// One INI file on disk. Every call reads the whole file and lets it go again,
// so nothing stays open between calls and edits made by hand are seen at once;
// an operation that reads many keys takes an IniSnapshot instead. Section and
// key names match without regard to letter case; the file is UTF-8, or UTF-16
// with a byte order mark, with CR LF, LF or CR line ends, which a rewrite
// keeps (IniText).
class IniFile {
  public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    // The value of the key, blanks around it removed and cut to at most 255
    // bytes; nothing when the key is missing or its value is empty, and
    // nothing when the file cannot be read.
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;

    // Sets the value of the key: an existing key is replaced in place, a new
    // key goes after the last line of its section, a new section at the end of
    // the file, and a missing file is created. The new content goes to a
    // temporary file that replaces the old one only when it is complete, so a
    // refused write returns false and leaves the file as it was. Names and
    // values that would break the line structure are refused.
    bool Write(std::string_view section, std::string_view key, std::string_view value) const;

  private:
    std::string path_;
};

}  // namespace zv
