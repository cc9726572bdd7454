#pragma once

#include <string>
#include <system_error>
#include <utility>

namespace zv {

// What an operation that can fail gives back: ok, or a code that says which
// failure it was and a message that says why, for the person who reads it.
// The code is a std::error_code, so the system's errors and the program's own
// kinds of failure (such as FileError) are told apart in one type. A status that
// is dropped unread is a compile warning.
class [[nodiscard]] Status {
  public:
    Status() = default;
    // A failure; without a message its code's own text stands for one.
    Status(std::error_code code, std::string message = {})
        : code_(code), message_(std::move(message)) {}

    static Status Ok() { return {}; }

    bool ok() const { return !code_; }
    const std::error_code& code() const { return code_; }
    std::string message() const { return message_.empty() ? code_.message() : message_; }

  private:
    std::error_code code_;
    std::string message_;
};

}  // namespace zv
