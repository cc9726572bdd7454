#pragma once

#include <ctime>
#include <string>

namespace zv {

// The id that names a project window's temporary project copy: year, month,
// day, hour, minute and second without padding, then the seconds since
// midnight as a single-precision number ("20243514283352113.25").
std::string DocumentIdAt(const std::tm& local, int milliseconds);

// The id for this moment, never one this process has handed out before.
std::string NewDocumentId();

}  // namespace zv
