#pragma once

#include <string>

namespace zv {

// A key of the settings file: its section and its name. `fallback` is what a
// missing key stands for, where the program has a value for it; null where a
// missing key leaves the current value as it is.
struct SettingsKey {
    const char* section;
    const char* name;
    const char* fallback = nullptr;
};

// Every section and key of the settings file, in one place.
namespace settings_keys {

inline constexpr const char* kRunDefaults = "DEFAULT_SET_RUN";
inline constexpr SettingsKey MediaSize{kRunDefaults, "MediaSize"};
inline constexpr SettingsKey DiffSize{kRunDefaults, "DiffSize"};
inline constexpr SettingsKey MediaNum{kRunDefaults, "MediaNum"};
inline constexpr SettingsKey MaxFile{kRunDefaults, "MaxFile"};
inline constexpr SettingsKey MinFile{kRunDefaults, "MinFile"};
// A file without it runs fast.
inline constexpr SettingsKey MaxSpeed{kRunDefaults, "MaxSpeed", "1"};
inline constexpr SettingsKey AfterRun{kRunDefaults, "AfterRun"};
inline constexpr SettingsKey AfterPath{kRunDefaults, "AfterPath"};
// The after-run actions of project files that the user confirmed on this
// machine: a key per project (a hash of its path), the hash of the action as
// its value.
inline constexpr const char* kAfterRunConfirmed = "AFTER_RUN_CONFIRMED";
// The packing method: 0 medium after medium, 1 fewest media. A file written
// before there was a choice packs medium after medium.
inline constexpr SettingsKey Method{kRunDefaults, "Method", "0"};
// Room every medium leaves for its file system: 0 none, 1 ISO 9660 with Rock
// Ridge and Joliet. A file written before there was a choice leaves none.
inline constexpr SettingsKey FsAllowance{kRunDefaults, "FsAllowance", "0"};
// Seconds after which a medium's search ends with its best combination; 0
// sets no limit.
inline constexpr SettingsKey MediumTimeLimit{kRunDefaults, "MediumTimeLimit", "0"};

// Numbered keys "0", "1", ...: "name#bytes" for each size preset.
inline constexpr const char* kSizePresets = "MSizeSet";
// Numbered keys "0" to "4": the recent files, newest first.
inline constexpr const char* kHistory = "History";
// Keys "USR<n>": captions that replace the menu's own.
inline constexpr const char* kMenuItem = "MenuItem";
// Numbered keys: the help texts of the run settings dialog's fields.
inline constexpr const char* kSettingComments = "SettingComments";

inline constexpr const char* kMainForm = "LASTMAINFORM";
inline constexpr SettingsKey MainFormTop{kMainForm, "TOP"};
inline constexpr SettingsKey MainFormLeft{kMainForm, "LEFT"};
inline constexpr SettingsKey MainFormWidth{kMainForm, "WIDTH"};
inline constexpr SettingsKey MainFormHeight{kMainForm, "HEIGHT"};

inline constexpr SettingsKey LastAddFolder{"LASTADDFOLDER", "PATH"};
// The add-files dialog's size and splitter as the user left them, in twips.
inline constexpr const char* kAddDialog = "LASTADDDIALOG";
inline constexpr SettingsKey AddDialogWidth{kAddDialog, "WIDTH"};
inline constexpr SettingsKey AddDialogHeight{kAddDialog, "HEIGHT"};
inline constexpr SettingsKey AddDialogSplitter{kAddDialog, "SPLITTER"};
// The folder the open and save dialogs last returned a file in.
inline constexpr SettingsKey LastFolder{"LASTFOLDER", "PATH"};

}  // namespace settings_keys

}  // namespace zv
