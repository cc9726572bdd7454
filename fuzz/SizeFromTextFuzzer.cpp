// A media-size text against a settings file of presets: an input is the text,
// a zero byte, and the file. A text that is a number gives that number
// without the file, or 0 beyond what a medium can be; anything else gives a
// capacity or 0, never a failure.

#include <cmath>
#include <cstdlib>
#include <iostream>

#include "core/settings/CapacityText.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SizeFromText.h"
#include "core/settings/TextNumber.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zv;
    static const bool folderSet = [] {
        SetProgramFolder(fuzz::Folder());
        return true;
    }();
    static_cast<void>(folderSet);
    const auto parts = fuzz::Parts(data, size, 1);
    const std::string& text = parts[0];
    fuzz::WriteFile(SettingsFilePath(), parts[1]);

    const std::optional<double> number = ParseNumber(text);
    if (IsNumeric(text) != number.has_value()) {
        std::cerr << "IsNumeric and ParseNumber disagree\n";
        std::abort();
    }
    const double bytes = SizeFromText(text);
    const double expected = number && *number > kMaxCapacity ? 0 : number.value_or(0);
    if (number && !(bytes == expected || (std::isnan(bytes) && std::isnan(*number)))) {
        std::cerr << "a number did not give itself\n";
        std::abort();
    }
    return 0;
}
