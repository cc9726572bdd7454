#pragma once

#include <cstdint>
#include <string>

namespace zv {

enum IniMode : int16_t {
    IniWrite = 0,   // write the value under the current section and key
    IniRead = 1,    // read the current section and key into the value
    IniSelect = 2,  // only remember the file and section for the calls that follow
};

// The one routine through which the settings file is read and written. The
// file and section given last are remembered for the whole process, so a
// caller selects them once and then passes only keys. Returns false for a key
// that is absent or empty (the value is then left as it was), for a write that
// the file system refuses, and when no file or section has been given yet.
bool IniAccess(int16_t mode, const std::string& section, const std::string& key, std::string& value,
               const std::string& file);

}  // namespace zv
