#pragma once

#include <optional>
#include <string>

#include "core/platform/PlatformError.h"

namespace zv {

// A value of the settings file that its field cannot take, or a settings file
// that cannot be read for a key: the platform's error as the common error box
// shows it, with the file and the key it concerns.
class SettingsValueError : public PlatformError {
  public:
    // A value that does not convert; `cause` is the conversion's failure.
    SettingsValueError(const PlatformError& cause, std::string file, std::string section,
                       std::string key, std::string value);
    // A file that cannot be read; `reason` says why ("Permission denied").
    static SettingsValueError Unreadable(std::string file, std::string section, std::string key,
                                         std::string reason);

    const std::string& File() const { return file_; }
    const std::string& Section() const { return section_; }
    const std::string& Key() const { return key_; }
    // The text that does not convert; nothing when the file could not be read.
    const std::optional<std::string>& Value() const { return value_; }
    // Why the file could not be read; empty for a value that does not convert.
    const std::string& ReadError() const { return readError_; }

    // "[DEFAULT_SET_RUN] MediaNum=40000", or without "=..." when the file
    // could not be read.
    std::string Where() const;
    // The common error box's text: the description, the file, where, and why
    // the file could not be read, each on a line of its own.
    std::string BoxText() const;

  private:
    SettingsValueError(const PlatformError& cause, std::string file, std::string section,
                       std::string key, std::optional<std::string> value, std::string readError);

    std::string file_;
    std::string section_;
    std::string key_;
    std::optional<std::string> value_;
    std::string readError_;
};

}  // namespace zv
