#include "core/settings/IniAccess.h"

#include "core/settings/IniFile.h"

namespace zv {

namespace {

// Every value goes into the file as a field of this many characters.
constexpr std::size_t kFieldWidth = 256;

std::string currentFile;
std::string currentSection;

bool StartsCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

// The value left-aligned in a blank-padded field of kFieldWidth characters,
// a longer value cut to the field. Characters, not bytes, are counted.
std::string Field(const std::string& value) {
    std::size_t characters = 0;
    std::size_t end = 0;
    for (; end < value.size(); ++end) {
        if (!StartsCharacter(value[end]))
            continue;
        if (characters == kFieldWidth)
            break;
        ++characters;
    }
    std::string field = value.substr(0, end);
    field.append(kFieldWidth - characters, ' ');
    return field;
}

}  // namespace

bool IniAccess(int16_t mode, const std::string& section, const std::string& key, std::string& value,
               const std::string& file) {
    if (!file.empty()) {
        currentFile = file;
    } else if (currentFile.empty()) {
        return false;
    }
    if (!section.empty()) {
        currentSection = section;
    } else if (currentSection.empty()) {
        return false;
    }
    if (key.empty() && mode != IniSelect)
        return false;

    const IniFile ini(currentFile);
    switch (mode) {
        case IniWrite:
            return ini.Write(currentSection, key, Field(value));
        case IniRead: {
            const auto read = ini.Read(currentSection, key);
            if (!read)
                return false;
            value = *read;
            return true;
        }
        case IniSelect:
            return true;
        default:
            return false;
    }
}

}  // namespace zv
