#include "core/settings/SettingsValueError.h"

#include <utility>

#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

SettingsValueError::SettingsValueError(const PlatformError& cause, std::string file,
                                       std::string section, std::string key, std::string value)
    : SettingsValueError(cause, std::move(file), std::move(section), std::move(key),
                         std::optional<std::string>(std::move(value)), {}) {}

SettingsValueError::SettingsValueError(const PlatformError& cause, std::string file,
                                       std::string section, std::string key,
                                       std::optional<std::string> value, std::string readError)
    : PlatformError(cause),
      file_(std::move(file)),
      section_(std::move(section)),
      key_(std::move(key)),
      value_(std::move(value)),
      readError_(std::move(readError)) {}

SettingsValueError SettingsValueError::Unreadable(std::string file, std::string section,
                                                  std::string key, std::string reason) {
    const PlatformError cause(PlatformError::PermissionDenied().Number(),
                              ResString(text_id::CannotReadSettings));
    return {cause,          std::move(file), std::move(section),
            std::move(key), std::nullopt,    std::move(reason)};
}

std::string SettingsValueError::Where() const {
    return "[" + section_ + "] " + key_ + (value_ ? "=" + *value_ : std::string());
}

std::string SettingsValueError::BoxText() const {
    return Description() + "\r\n" + file_ + "\r\n" + Where() +
           (readError_.empty() ? std::string() : "\r\n" + readError_);
}

}  // namespace zv
