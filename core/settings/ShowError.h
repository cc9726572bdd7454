#pragma once

#include <string>

namespace zv {

class PlatformError;

// The common error box for unexpected failures: the description as text, the
// executable's base name, "ｴﾗｰ", a blank and the number as caption, OK only.
void ShowError(int number, const std::string& description);
void ShowError(const PlatformError& error);

// Opens a file or address with its associated program; when none takes it (no
// program for the type, no browser), says so in a box instead of failing
// unseen. False then.
bool OpenOrReport(const std::string& pathOrAddress);

}  // namespace zv
