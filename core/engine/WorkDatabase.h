#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/db/AccessDB.h"
#include "core/engine/FileSystemAllowance.h"
#include "core/engine/RunDisplay.h"
#include "core/engine/RunParameters.h"
#include "core/platform/FileLock.h"
#include "core/platform/Status.h"

namespace zv {

// The copy of the project file a run works in: it gets the item table GP and,
// medium by medium, the result tables. At a normal end it takes the project
// file's place; otherwise it is deleted. From its creation to its end the
// project is locked against other runs and saves. The run works in it over one
// connection, from PrepareItemTable to Close: a connection that opened the file
// anew for every step would read its whole schema each time, and the schema
// grows by two tables with every medium.
class WorkDatabase {
  public:
    WorkDatabase(const RunParameters& params, RunDisplay& display);

    // Locks the project, puts right what an earlier save or run left beside
    // it, lets SQLite recover the project's own journal, and copies it to the
    // work database path. FileError::InUse while another process saves or
    // runs it, FileError::ReadOnly for a read-only project, and
    // std::errc::file_exists for a file of the user's at the work path.
    Status CreateWorkDatabase();
    // Opens the run's connection and builds GP with one row per list item and
    // its summed size. False stops the run; its message has been shown, except
    // for a project without items.
    [[nodiscard]] bool PrepareItemTable();
    // The sizes of the items still in GP, largest first; empty when every item
    // has been placed. False when GP could not be read (the message has been
    // shown).
    [[nodiscard]] bool LoadItemSizes(std::vector<double>& itemSizes);
    // The items still in GP, largest first (equal sizes in item order): their
    // numbers and sizes, empty when every item has been placed. False when GP
    // could not be read (the message has been shown).
    [[nodiscard]] bool LoadItems(std::vector<int16_t>& itemNumbers, std::vector<double>& itemSizes);
    // What every medium keeps back for its file system, known once the item
    // table is built; 0 without an allowance.
    double MediumReserve() const { return mediumReserve_; }
    // The items' member files, read once the item table is built when the
    // fewest-media method packs ISO images; empty otherwise.
    const std::vector<MemberFile>& MemberFiles() const { return memberFiles_; }
    // The run's connection, for recording the media.
    AccessDB& Connection() { return db_; }
    // Ends the run's connection; it comes before the commit or the discard.
    void Close();
    // Puts the work database in the project file's place in one step. On a
    // failure the project file stays as it was and the work database goes;
    // FileError::NotSynced says the project holds the results all the same.
    Status CommitWorkDatabase();
    void DiscardWorkDatabase();

  private:
    // Every member file of the items, read for the file system's allowance.
    bool ReadMemberFiles(std::vector<MemberFile>& files);
    Status OpenWork();
    // Rolls back the transaction of a failed step and shows its message.
    bool Abandon(int message);
    void DropSearchIndexes();

    const RunParameters& params_;
    RunDisplay& display_;
    std::optional<FileLock> lock_;
    // Only a work database this run made is removed by it.
    bool created_ = false;
    AccessDB db_;
    double mediumReserve_ = 0;
    std::vector<MemberFile> memberFiles_;
};

}  // namespace zv
