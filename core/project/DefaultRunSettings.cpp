#include "core/project/DefaultRunSettings.h"

#include <cmath>

#include "core/platform/PlatformError.h"
#include "core/settings/IniSnapshot.h"
#include "core/settings/ProgramPaths.h"
#include "core/settings/SettingsKeys.h"
#include "core/settings/SettingsValueError.h"
#include "core/settings/ShowError.h"
#include "core/settings/TextNumber.h"

namespace zv {

namespace keys = settings_keys;

namespace {

// A key of DEFAULT_SET_RUN and how its text goes into the record; the
// conversions throw PlatformError for a text that does not convert.
struct DefaultField {
    const SettingsKey& key;
    void (*take)(RunSettings& settings, const std::string& value);
};

// The keys in the order they are read.
const DefaultField kDefaultFields[] = {
    {keys::MediaSize, [](RunSettings& s, const std::string& v) { s.MediaSize = v; }},
    {keys::DiffSize, [](RunSettings& s, const std::string& v) { s.DiffSize = TextToDouble(v); }},
    {keys::MediaNum, [](RunSettings& s, const std::string& v) { s.MediaNum = TextToInt16(v); }},
    {keys::MaxFile, [](RunSettings& s, const std::string& v) { s.MaxFile = TextToInt16(v); }},
    {keys::MinFile, [](RunSettings& s, const std::string& v) { s.MinFile = TextToInt16(v); }},
    {keys::MaxSpeed,
     [](RunSettings& s, const std::string& v) { s.MaxSpeed = TextToInt16(v) != 0; }},
    {keys::AfterRun, [](RunSettings& s, const std::string& v) { s.AfterRun = TextToInt16(v); }},
    {keys::AfterPath, [](RunSettings& s, const std::string& v) { s.AfterPath = v; }},
    {keys::Method,
     [](RunSettings& s, const std::string& v) {
         s.Method = PackingMethodFromNumber(TextToInt16(v));
     }},
    {keys::FsAllowance,
     [](RunSettings& s, const std::string& v) {
         s.FsAllowance = FileSystemAllowanceFromNumber(TextToInt16(v));
     }},
};

// Puts the key's value, or its fallback when the file has none, into its
// field; an absent key without a fallback leaves the field. Throws
// SettingsValueError for a value that does not convert and for a file that
// could not be read.
void TakeField(const IniSnapshot& ini, const DefaultField& field, RunSettings& settings) {
    std::optional<std::string> value = ini.Value(field.key.section, field.key.name);
    if (!value && field.key.fallback != nullptr)
        value = field.key.fallback;
    if (!value)
        return;
    try {
        field.take(settings, *value);
    } catch (const PlatformError& error) {
        throw SettingsValueError(error, ini.Path(), field.key.section, field.key.name, *value);
    }
}

}  // namespace

RunSettings& DefaultRunSettings() {
    static RunSettings defaults;
    return defaults;
}

PackingMethod PackingMethodFromNumber(int16_t number) {
    switch (number) {
        case static_cast<int16_t>(PackingMethod::Sequential):
            return PackingMethod::Sequential;
        case static_cast<int16_t>(PackingMethod::FewestMedia):
            return PackingMethod::FewestMedia;
    }
    throw PlatformError::OutOfRange();
}

bool LoadDefaultRunSettings(RunSettings& settings) {
    const IniSnapshot ini(SettingsFilePath());
    try {
        for (const DefaultField& field : kDefaultFields)
            TakeField(ini, field, settings);
    } catch (const SettingsValueError& error) {
        ShowError(error.Number(), error.BoxText());
        return false;
    }
    return true;
}

std::vector<SettingsValueError> ReadDefaultRunSettings(RunSettings& settings) {
    const IniSnapshot ini(SettingsFilePath());
    std::vector<SettingsValueError> failures;
    for (const DefaultField& field : kDefaultFields) {
        try {
            TakeField(ini, field, settings);
        } catch (const SettingsValueError& error) {
            failures.push_back(error);
        }
    }
    return failures;
}

double ReadMediumTimeLimit() {
    const IniSnapshot ini(SettingsFilePath());
    const SettingsKey& key = keys::MediumTimeLimit;
    const std::string value = ini.Value(key.section, key.name).value_or(key.fallback);
    double seconds = 0;
    try {
        seconds = TextToDouble(value);
    } catch (const PlatformError& error) {
        throw SettingsValueError(error, ini.Path(), key.section, key.name, value);
    }
    // "nan" would compare as no limit at all, "inf" as one never reached.
    if (!std::isfinite(seconds))
        throw SettingsValueError(PlatformError::OutOfRange(), ini.Path(), key.section, key.name,
                                 value);
    return seconds > 0 ? seconds : 0;
}

double LoadMediumTimeLimit() {
    try {
        return ReadMediumTimeLimit();
    } catch (const SettingsValueError& error) {
        ShowError(error.Number(), error.BoxText());
        return 0;
    }
}

}  // namespace zv
