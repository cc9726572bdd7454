#include "core/settings/SizeFromText.h"

#include "core/platform/UiServices.h"
#include "core/settings/IniAccess.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SizePresets.h"
#include "core/settings/TextNumber.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// "ｻｲｽﾞﾃﾞｰﾀの取得に失敗しました": the text is neither a number nor a preset name.
constexpr int kSizeDataMissing = 41004;

}  // namespace

double SizeFromText(const std::string& text) {
    if (const auto number = ParseNumber(text))
        return *number;

    // The presets are read at every lookup, so edits to the file count at once.
    const std::string file = SettingsFilePath();
    for (int k = 0;; ++k) {
        std::string value;
        if (!IniAccess(IniRead, "MSizeSet", std::to_string(k), value, file)) {
            ShowMessage(ResString(kSizeDataMissing));
            return 0;
        }
        const auto preset = ParseSizePreset(value);
        if (!preset)
            return 0;
        if (preset->name == text)
            return preset->capacity;
    }
}

}  // namespace zv
