#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/RunSettings.h"
#include "core/settings/SizePresets.h"

namespace zv {

// The boxes of the run settings dialog.
enum class SettingBox { MediaSize, DiffSize, MediaNum, MaxFile, MinFile, AfterPath };

// What the run settings dialog shows, box by box.
struct RunSettingTexts {
    std::string mediaSize;                             // objCombo(0)
    std::string diffSize;                              // objText(0)
    std::string mediaNum;                              // objText(1)
    std::string maxFile;                               // objText(2)
    std::string minFile;                               // objText(3)
    bool maxSpeed = false;                             // objCheck(0)
    PackingMethod method = PackingMethod::Sequential;  // objCombo(1)
    bool fsAllowance = false;                          // objCheck(1)
    int16_t afterRun = 0;                              // objCombo(2)
    std::string afterPath = {};                        // objText(4)
};

// Why the settings cannot be applied: the message to show and the box to go
// back to.
struct SettingRefusal {
    int message;
    SettingBox focus;
};

// A box's text after it lost the focus; `refused` when its value is too large
// to be taken at all (the text then stays as typed and the box keeps the focus).
struct LeftBoxText {
    std::string text;
    bool refused = false;
};

// The rules of the run settings dialog, apart from its widgets: what the boxes
// show, what they accept, the checks before settings are applied, the
// automatic tolerance, the stored defaults and the help texts.
class RunSettingRules {
  public:
    // Reads the capacity presets of the settings file. A preset that cannot
    // be read throws PlatformError. With no preset the list holds one empty
    // entry.
    void LoadPresets();
    const std::vector<SizePreset>& Presets() const { return presets_; }

    // The boxes as the dialog opens on `settings`.
    static RunSettingTexts TextsOf(const RunSettings& settings);

    // Whether a typed character (as the keyboard gives it) may enter one of the
    // number boxes: digits, and keys that type no character.
    static bool AcceptsTyped(const std::string& typed);
    // A box that gains the focus shows a number as its whole part without
    // separators; other texts stay.
    static std::string FocusedText(const std::string& text);
    static LeftBoxText LeftText(SettingBox box, const std::string& text);

    // The settings the boxes stand for. A box that does not convert throws
    // PlatformError.
    static RunSettings RecordOf(const RunSettingTexts& texts);
    // The first rule the settings break, if any. Looking up a preset name may
    // show the message of a name that no preset has.
    static std::optional<SettingRefusal> Check(const RunSettings& settings);

    // The tolerance "Auto" proposes for a capacity text: a thousandth of the
    // capacity, rounded down, or "0" when the capacity is unknown.
    std::string AutoTolerance(const std::string& mediaSize) const;

    // Writes the boxes as the defaults of new projects; an empty box leaves its
    // key as it is. False when a write failed (the later ones are not made).
    static bool StoreDefaults(const RunSettingTexts& texts);

    // The labels of the packing method box, the after-run action box and its
    // folder, and the blank label that explains the allowance check box.
    static constexpr int kMethodLabel = 16;
    static constexpr int kAfterRunLabel = 17;
    static constexpr int kAfterPathLabel = 18;
    static constexpr int kAllowanceHelp = 19;
    // The time limit of the sequential search and its unit.
    static constexpr int kTimeLimitLabel = 20;
    static constexpr int kTimeLimitUnit = 21;
    // The labels that explain their field while the mouse is over them.
    static const std::vector<int>& HelpLabels();
    // The help text of label n: the settings file's replacement or the built-in text.
    static std::string HelpText(int label);
    // Stores the sequential search's time limit for every project, the
    // command-line tool's too; false when the settings file could not take it.
    static bool StoreMediumTimeLimit(double seconds);

  private:
    std::vector<SizePreset> presets_{SizePreset{}};
};

}  // namespace zv
