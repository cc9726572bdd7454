// The settings file's reader and writer. An input is section, key, value, a
// second section and key, and the file, apart by zero bytes. A value written
// must read back, and no other key may change with it.

#include <cstdlib>
#include <iostream>

#include "core/settings/IniFile.h"
#include "core/settings/IniSnapshot.h"
#include "fuzz/FuzzInput.h"

namespace {

using namespace zv;

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a), b = Trim(b);
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return (x >= 'A' && x <= 'Z' ? x - 'A' + 'a' : x) ==
               (y >= 'A' && y <= 'Z' ? y - 'A' + 'a' : y);
    });
}

bool IsUtf16(std::string_view bytes) {
    return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

bool IsUtf8(std::string_view text) {
    while (!text.empty()) {
        const auto lead = static_cast<unsigned char>(text[0]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || text.size() < length)
            return false;
        for (std::size_t i = 1; i < length; ++i) {
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
                return false;
        }
        // Overlong forms and surrogates: what a decoder would replace.
        const auto second = static_cast<unsigned char>(text[length > 1 ? 1 : 0]);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
            return false;
        text.remove_prefix(length);
    }
    return true;
}

void Fail(const char* what) {
    std::cerr << what << '\n';
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = fuzz::Parts(data, size, 5);
    const std::string& section = parts[0];
    const std::string& key = parts[1];
    const std::string& value = parts[2];
    const std::string& otherSection = parts[3];
    const std::string& otherKey = parts[4];
    const std::string path = fuzz::Folder() + "/settings.dat";
    fuzz::WriteFile(path, parts[5]);

    const IniFile file(path);
    const auto other = IniSnapshot(path).Read(otherSection, otherKey);
    if (other && (other->empty() || other->size() > 255 || Trim(*other) != *other ||
                  other->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos))
        Fail("a value read with blanks, line breaks or beyond 255 bytes");
    if (!file.Write(section, key, value))
        return 0;

    // A UTF-16 file cannot keep bytes that are no UTF-8 characters.
    if (IsUtf16(parts[5]) && !(IsUtf8(section) && IsUtf8(key) && IsUtf8(value)))
        return 0;
    const std::string_view expected = Trim(value);
    const auto read = file.Read(section, key);
    if (expected.empty() ? read.has_value()
                         : !read || !expected.starts_with(*read) ||
                               (expected.size() <= 255 && *read != expected))
        Fail("a value written did not read back");
    if (!(SameName(section, otherSection) && SameName(key, otherKey)) &&
        IniSnapshot(path).Read(otherSection, otherKey) != other)
        Fail("writing one key changed another");
    return 0;
}
