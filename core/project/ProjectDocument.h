#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/RunSettings.h"
#include "core/project/EditHistory.h"
#include "core/project/ItemRecord.h"
#include "core/project/ProjectFile.h"

namespace zv {

// Size units of the lists; the values are the View menu's unit items.
enum class SizeUnit : int16_t {
    UnitGigabytes = 0,
    UnitMegabytes = 1,
    UnitKilobytes = 2,
    UnitBytes = 3
};
// Path display of the lists; the values are the View menu's path items.
enum class PathMode : int16_t { FullPaths = 0, FileNamesOnly = 1 };
// The names carry their kind already and read well on their own.
using enum SizeUnit;
using enum PathMode;

// The data of one project window, everything but its widgets: the list items,
// the run settings, the file path, caption and modified flag, and the state of
// its views. An empty project is one placeholder item.
class ProjectDocument {
  public:
    // A new, untitled, empty, unmodified project: raises the program's untitled
    // counter for its caption, takes the default run settings from the
    // settings file, and gets its document id from the time of day.
    ProjectDocument();

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    const std::string& FilePath() const { return filePath_; }
    void SetFilePath(const std::string& path) { filePath_ = path; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    // A file opened although it did not match its checksum is kept as it
    // is: the project is saved only under another name.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

    const std::vector<ItemRecord>& Items() const { return items_; }
    std::vector<ItemRecord>& Items() { return items_; }
    // A copy, as handed to dialogs.
    std::vector<ItemRecord> GetItems() const { return items_; }
    // True when the first slot of the first item is empty.
    bool IsEmpty() const;
    // Back to one placeholder item.
    void ResetItems();

    RunSettings GetRunSettings() const { return settings_; }
    // Replaces the settings and sets the modified flag.
    void SetRunSettings(const RunSettings& settings);
    // Replaces the settings without touching the modified flag (loading).
    void LoadRunSettings(const RunSettings& settings) { settings_ = settings; }

    SizeUnit GetSizeUnit() const { return sizeUnit_; }
    void SetSizeUnit(SizeUnit unit) { sizeUnit_ = unit; }
    PathMode GetPathMode() const { return pathMode_; }
    void SetPathMode(PathMode mode) { pathMode_ = mode; }
    const std::string& GetOpenGroup() const { return openGroup_; }
    void SetOpenGroup(const std::string& group) { openGroup_ = group; }

    // Adds files as single items at the end, or, with a group name, as a new
    // group at the end that becomes the opened group. Files already in the
    // project are dropped first. False (and no change) when nothing is left to
    // add, when the first slot is empty, or when the project would hold more
    // items than it can number.
    bool AddFiles(std::vector<FileRef> files, const std::string& groupName);
    // Removes from `files` every file already registered in the project (its
    // full path equals a member's full path) and returns how many are left;
    // none left makes the list one empty slot.
    int DropRegistered(std::vector<FileRef>& files) const;

    // The list as it is now is one step of the edit history: Undo goes back
    // to it. Every edit of the list ends with this.
    void RecordEdit();
    // The history starts again from the list as it is (a project loaded, a
    // plan made).
    void ForgetEdits();
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    // Back to the list before the last edit, or forward again to the one
    // after it; the project is then modified. False when there is no step.
    bool Undo();
    bool Redo();

    void ClearCutMarks();
    bool HasCutMarks() const;
    // True when any item has a medium number.
    bool HasResults() const;
    void ClearResults();
    // The highest medium number of any item; 0 when none is placed.
    int32_t HighestMedium() const;
    // Copies of the items on medium m in list order; `found` is false when
    // there is none (the result is then one placeholder).
    std::vector<ItemRecord> ItemsOfMedium(int32_t medium, bool& found) const;

    // The items as the project file keeps them: each member's full path and
    // its size now (the size last read when the file has gone).
    std::vector<ProjectItem> ToProjectItems() const;

  private:
    void TakeState(EditHistory::State state);

    std::string caption_;
    std::string filePath_;
    bool modified_ = false;
    bool readOnly_ = false;
    std::vector<ItemRecord> items_{ItemRecord()};
    RunSettings settings_;
    SizeUnit sizeUnit_ = UnitBytes;
    PathMode pathMode_ = FullPaths;
    std::string openGroup_;
    EditHistory history_;
};

// Most items a project holds: their numbers run from 0 to 999,999.
constexpr int kMaxProjectItems = 1'000'000;

}  // namespace zv
