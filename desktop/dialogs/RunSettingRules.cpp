#include "desktop/dialogs/RunSettingRules.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/engine/RunSettingCheck.h"
#include "core/platform/PlatformError.h"
#include "core/project/AfterRun.h"
#include "core/project/ProjectDocument.h"
#include "core/settings/CapacityText.h"
#include "core/settings/IniFile.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/SizeFromText.h"
#include "core/settings/TextNumber.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

constexpr int kHelpTexts = 4000;  // label n explains with text 4000 + n

// The largest count a box takes: one number below the items a project holds.
constexpr double kMaxCount = kMaxProjectItems - 1;
// Sizes from one yotta byte up are refused.
constexpr double kYotta = 1e24;

// The whole part of a number written out in digits, without separators: the
// digits that read back as the same value, then zeros, so that 1e24 shows as
// a one and 24 zeros rather than as the binary value's exact expansion.
std::string PlainWholeNumber(double value) {
    const double whole = std::trunc(value);
    if (whole == 0)
        return "0";
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, whole, std::chars_format::scientific);
    const std::string text(buffer, end);  // "-1.2345e+06"
    const std::size_t e = text.find('e');
    const bool negative = text.front() == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
        if (text[i] != '.')
            digits += text[i];
    }
    const int exponent = std::stoi(text.substr(e + 1));
    digits.append(static_cast<std::size_t>(exponent + 1) - digits.size(), '0');
    return (negative ? "-" : "") + digits;
}

SettingBox BoxOf(RunSettingField field) {
    switch (field) {
        case RunSettingField::MediaSize:
            return SettingBox::MediaSize;
        case RunSettingField::Tolerance:
            return SettingBox::DiffSize;
        case RunSettingField::MediaCount:
            return SettingBox::MediaNum;
        case RunSettingField::MaxItems:
            return SettingBox::MaxFile;
        case RunSettingField::MinItems:
            return SettingBox::MinFile;
    }
    return SettingBox::MediaSize;
}

bool IsCountBox(SettingBox box) {
    return box == SettingBox::MediaNum || box == SettingBox::MaxFile || box == SettingBox::MinFile;
}

}  // namespace

void RunSettingRules::LoadPresets() {
    // The list starts with one empty entry; the first preset takes its place,
    // and so does each following one while the capacity there is no size.
    presets_.assign(1, SizePreset{});
    const IniFile settings(SettingsFilePath());
    // A broken entry ends the list; the presets read before it stay offered.
    for (int k = 0;; ++k) {
        const auto entry = settings.Read(settings_keys::kSizePresets, std::to_string(k));
        if (!entry)
            break;
        const std::string& value = *entry;
        const auto hash = value.find('#');
        if (hash == std::string::npos)
            throw PlatformError::InvalidCall();
        SizePreset preset{value.substr(0, hash), TextToDouble(value.substr(hash + 1))};
        if (presets_.front().capacity > 0)
            presets_.emplace_back();
        presets_.back() = std::move(preset);
    }
}

RunSettingTexts RunSettingRules::TextsOf(const RunSettings& settings) {
    return {settings.MediaSize,
            FormatGrouped(std::trunc(settings.DiffSize)),
            FormatGrouped(settings.MediaNum),
            FormatGrouped(settings.MaxFile),
            FormatGrouped(settings.MinFile),
            settings.MaxSpeed,
            settings.Method,
            settings.FsAllowance == FileSystemAllowance::Iso9660,
            settings.AfterRun,
            settings.AfterPath};
}

bool RunSettingRules::AcceptsTyped(const std::string& typed) {
    if (typed.empty())
        return true;
    const unsigned char first = static_cast<unsigned char>(typed.front());
    // Control characters (Backspace, and the editing keys held with Ctrl)
    // type nothing into the box.
    if (typed.size() == 1 && (first < 0x20 || first == 0x7f))
        return true;
    return typed.size() == 1 && first >= '0' && first <= '9';
}

std::string RunSettingRules::FocusedText(const std::string& text) {
    const auto value = ParseNumber(text);
    return value ? PlainWholeNumber(*value) : text;
}

LeftBoxText RunSettingRules::LeftText(SettingBox box, const std::string& text) {
    auto value = ParseNumber(text);
    if (!value)
        return {text};
    if (IsCountBox(box)) {
        if (*value > kMaxCount)
            value = kMaxCount;
    } else if (*value >= kYotta) {
        return {text, true};
    }
    return {FormatGrouped(*value)};
}

RunSettings RunSettingRules::RecordOf(const RunSettingTexts& texts) {
    RunSettings settings;
    settings.MediaSize = texts.mediaSize;
    settings.DiffSize = TextToDouble(texts.diffSize);
    settings.MediaNum = TextToInt32(texts.mediaNum);
    settings.MaxFile = TextToInt32(texts.maxFile);
    settings.MinFile = TextToInt32(texts.minFile);
    settings.AfterRun = texts.afterRun;
    settings.AfterPath = texts.afterPath;
    settings.MaxSpeed = texts.maxSpeed;
    settings.Method = texts.method;
    settings.FsAllowance =
        texts.fsAllowance ? FileSystemAllowance::Iso9660 : FileSystemAllowance::None;
    return settings;
}

std::optional<SettingRefusal> RunSettingRules::Check(const RunSettings& settings) {
    if (const std::optional<RunSettingRefusal> refusal = CheckRunSettings(settings)) {
        // The lookup says why a size is none: a settings file that cannot
        // be read, or a name that no preset has.
        if (refusal->rule == RunSettingRule::CapacityUnknown)
            static_cast<void>(SizeFromText(settings.MediaSize));
        return SettingRefusal{refusal->message, BoxOf(refusal->field)};
    }
    // A relative folder would land wherever the program happened to be started.
    if (AfterRunFormat(settings.AfterRun) &&
        !std::filesystem::path(settings.AfterPath).is_absolute())
        return SettingRefusal{text_id::AfterRunPathNotFull, SettingBox::AfterPath};
    return std::nullopt;
}

std::string RunSettingRules::AutoTolerance(const std::string& mediaSize) const {
    const double capacity = CapacityFromText(mediaSize, presets_).value_or(0);
    if (capacity <= 0)
        return "0";
    return FormatGrouped(std::floor(capacity / 1000));
}

bool RunSettingRules::StoreDefaults(const RunSettingTexts& texts) {
    const IniFile settings(SettingsFilePath());
    const auto write = [&settings](const SettingsKey& key, const std::string& text) {
        return settings.Write(key.section, key.name, text);
    };
    // An empty box or folder leaves what the file holds.
    const std::pair<const SettingsKey&, const std::string&> boxes[] = {
        {settings_keys::MediaSize, texts.mediaSize}, {settings_keys::DiffSize, texts.diffSize},
        {settings_keys::MediaNum, texts.mediaNum},   {settings_keys::MaxFile, texts.maxFile},
        {settings_keys::MinFile, texts.minFile},
    };
    for (const auto& [key, text] : boxes) {
        if (!text.empty() && !write(key, text))
            return false;
    }
    const std::pair<const SettingsKey&, std::string> choices[] = {
        {settings_keys::MaxSpeed, texts.maxSpeed ? "1" : "0"},
        {settings_keys::Method, std::to_string(static_cast<int16_t>(texts.method))},
        {settings_keys::FsAllowance, texts.fsAllowance ? "1" : "0"},
        {settings_keys::AfterRun, std::to_string(texts.afterRun)},
    };
    for (const auto& [key, text] : choices) {
        if (!write(key, text))
            return false;
    }
    return texts.afterPath.empty() || write(settings_keys::AfterPath, texts.afterPath);
}

const std::vector<int>& RunSettingRules::HelpLabels() {
    static const std::vector<int> labels{3,
                                         5,
                                         7,
                                         9,
                                         11,
                                         15,
                                         kMethodLabel,
                                         kAfterRunLabel,
                                         kAfterPathLabel,
                                         kAllowanceHelp,
                                         kTimeLimitLabel};
    return labels;
}

std::string RunSettingRules::HelpText(int label) {
    if (auto text = IniFile(SettingsFilePath())
                        .Read(settings_keys::kSettingComments, std::to_string(label)))
        return *std::move(text);
    switch (label) {
        case kMethodLabel:
            return ResString(text_id::MethodHelp);
        case kAfterRunLabel:
            return ResString(text_id::AfterRunHelp);
        case kAfterPathLabel:
            return ResString(text_id::AfterRunPathHelp);
        case kAllowanceHelp:
            return ResString(text_id::AllowanceHelp);
        case kTimeLimitLabel:
            return ResString(text_id::TimeLimitHelp);
    }
    return ResString(kHelpTexts + label);
}

bool RunSettingRules::StoreMediumTimeLimit(double seconds) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, seconds);
    const SettingsKey& key = settings_keys::MediumTimeLimit;
    return error == std::errc() &&
           IniFile(SettingsFilePath()).Write(key.section, key.name, std::string_view(buffer, end));
}

}  // namespace zv
