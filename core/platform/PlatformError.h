#pragma once

#include <stdexcept>
#include <string>

namespace zv {

// An unexpected failure of the platform under the program (a conversion that
// does not fit, a file that has gone, a row that is not there), with the number
// and description that the common error box shows.
class PlatformError : public std::runtime_error {
  public:
    PlatformError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int Number() const { return number_; }
    std::string Description() const { return what(); }

    // The failures the program meets, with their fixed descriptions.
    static PlatformError InvalidCall();       //  5
    static PlatformError Overflow();          //  6
    static PlatformError OutOfRange();        //  9
    static PlatformError TypeMismatch();      // 13
    static PlatformError FileNotFound();      // 53
    static PlatformError PermissionDenied();  // 70
    static PlatformError PathAccess();        // 75
    static PlatformError InvalidUseOfNull();  // 94
    static PlatformError NoCurrentRecord();   // 3021

  private:
    int number_;
};

}  // namespace zv
