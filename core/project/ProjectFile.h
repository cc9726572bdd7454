#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/engine/RunSettings.h"
#include "core/platform/PlatformError.h"
#include "core/platform/Status.h"

namespace zv {

struct ProjectMember {
    std::string path;
    double size = 0;  // bytes

    bool operator==(const ProjectMember&) const = default;
};

// One list item as the project file keeps it: a single file (named by its full
// path) or a group (named by its group name) with its member files.
struct ProjectItem {
    std::string name;
    int32_t medium = 0;  // medium number, 0 when not placed
    std::vector<ProjectMember> members;

    bool operator==(const ProjectItem&) const = default;

    // The members' own bytes, without what a file system adds.
    double Bytes() const {
        double bytes = 0;
        for (const ProjectMember& member : members)
            bytes += member.size;
        return bytes;
    }
};

struct ProjectData {
    std::vector<ProjectItem> items;
    RunSettings settings;
    // The file's contents do not match the checksum stored with them, and
    // the caller chose to load them anyway.
    bool checksumMismatch = false;
};

// The layout of the project files this build writes, kept in the file's
// user_version: 0 for files of builds before the layout had a number.
constexpr int kProjectFileVersion = 1;

// A value of a project file that the program cannot take: the platform's
// error as the error box shows it, and where the value stands and what is
// wrong with it ("MainDB row 3: CDNUMBER is -1, ...") for a message of its own.
class ProjectFileError : public PlatformError {
  public:
    ProjectFileError(const PlatformError& error, std::string detail)
        : PlatformError(error), detail_(std::move(detail)) {}

    const std::string& Detail() const { return detail_; }

  private:
    std::string detail_;
};

// A project file whose items or plan are not those it was saved with: a
// damaged file, which a caller may still choose to load.
class ChecksumMismatchError : public ProjectFileError {
  public:
    ChecksumMismatchError();
};

// The ".mtb" project file: the table MainDB with one row per member file
// (its CDNUMBER the item's medium, for builds that know no other plan), the
// table SetUp with the run settings, Plan with one row per placed item, Media
// with one row per medium, and Integrity with the checksum of the items and
// the plan.
class ProjectFile {
  public:
    // Builds the file afresh beside the target and puts it in the target's
    // place in one step only when every row has been written, so a failed or
    // cut-off save leaves the old file as it was; the new file keeps the old
    // one's permissions. The target is locked against the runs and saves of
    // other processes meanwhile (FileError::InUse), and a read-only target is
    // refused (FileError::ReadOnly), as is a file of the user's where the new
    // file would be built (std::errc::file_exists). Items without members may
    // only end the list, as they write no row. `why` receives the reason of a failure,
    // and FileError::NotSynced when the file was written and put in place but
    // its folder could not be synced (true is returned then).
    static bool Write(const std::string& path, const std::vector<ProjectItem>& items,
                      const RunSettings& settings, Status* why = nullptr);

    // Builds a project file at `path`, where nothing may be yet; nothing is
    // left there on a failure. Items and settings that Read would refuse are
    // refused before anything is written, naming the item.
    static Status Create(const std::string& path, const std::vector<ProjectItem>& items,
                         const RunSettings& settings);

    // Whether a project file can stand at `path`: the path is not empty and
    // short enough for SQLite to open it and the files beside it.
    static Status CheckPath(const std::string& path);

    // Items in item-number order with their members in row order and the sizes
    // the file holds, and the plan: from Plan in files of this layout, from
    // CDNUMBER in files of builds before it. `current` supplies what the file does not hold: the
    // fast mode always, everything when SetUp has no row. nullopt when the file is no project (no
    // database; MainDB, or a SetUp it has, not a plain table with the program's columns; a load
    // that would cost far more than the file's size calls for); throws ProjectFileError when a
    // value does not convert, is no whole number where one belongs, holds a zero byte, lies outside
    // what a run can use (negative sizes, medium numbers, counts and tolerance; sizes of 2^53 bytes
    // or more; more than kMaxProjectItems items), or the item numbers skip one, and when another
    // program keeps writing the file. A file of a newer layout than this build knows throws
    // ProjectFileError naming both versions. Items or a plan that do not match the file's checksum
    // throw ChecksumMismatchError, unless `allowMismatch`: then they are returned with
    // checksumMismatch set. The file is only read: nothing beside it is touched, and a file that
    // does not begin as a database is not opened at all. A path CheckPath refuses throws
    // ProjectFileError saying why.
    static std::optional<ProjectData> Read(const std::string& path, const RunSettings& current,
                                           bool allowMismatch = false);
};

}  // namespace zv
