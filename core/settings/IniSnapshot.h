#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace zv {

// The largest settings file that is read: the shipped one is a few
// kilobytes, and every command reads it whole.
constexpr std::size_t kMaxSettingsFileBytes = 1 << 20;

// One reading of an INI file: the file is read and parsed once, and every key
// is then looked up in memory. An operation that reads many keys (the size
// presets, the run defaults) takes one snapshot, so its cost grows with the
// file and not with the file times its keys; the next operation takes a new
// one and sees the file as it is then.
class IniSnapshot {
  public:
    explicit IniSnapshot(std::string path);

    const std::string& Path() const { return path_; }
    // Why the file could not be read ("Permission denied"); empty when it was
    // read or is missing, for a missing file reads as an empty one.
    const std::string& ReadError() const { return readError_; }

    // The value of the key, blanks around it removed and cut to at most 255
    // bytes; nothing when the key is missing or its value is empty, and
    // nothing when the file could not be read.
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    // The value as Read gives it, for a caller that must not take a file it
    // could not read for one without keys: throws SettingsValueError, naming
    // the file and the key, when the file could not be read.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  private:
    std::string path_;
    std::string readError_;
    // The file as UTF-8 text.
    std::string text_;
    // "section\nkey" in ASCII lower case to where the line of the key's first
    // occurrence in the section's first occurrence stands in text_ (start and
    // length): the line a reader finds.
    std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> keys_;
};

}  // namespace zv
