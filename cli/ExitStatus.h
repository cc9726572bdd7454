#pragma once

namespace zv::exit_status {

// The exit statuses of zarvopack-cli; a stop signal ends it with 128 plus the
// signal's number (130 for Ctrl+C).
inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;
// Something that should be on a disc is on none: an item no medium holds, or
// an entry no disc can hold.
inline constexpr int kLeftOut = 3;

}  // namespace zv::exit_status
