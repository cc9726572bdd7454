#pragma once

#include <cstdint>
#include <vector>

#include "core/engine/RunDisplay.h"
#include "core/engine/RunParameters.h"

namespace zv {

// The copy of the project file a run works in: it gets the item table GP and,
// medium by medium, the result tables. At a normal end it takes the project
// file's place; otherwise it is deleted. Every operation opens the file for
// itself and closes it again.
class WorkDatabase {
  public:
    WorkDatabase(const RunParameters& params, RunDisplay& display);

    // Copies the project file to the work database path, replacing any file
    // there. Throws PlatformError when the copy fails.
    void CreateWorkDatabase();
    // Builds GP with one row per list item and its summed size; false stops the run.
    bool PrepareItemTable();
    // The sizes of the items still in GP, largest first; false when nothing
    // is left or the database could not be read.
    bool LoadItemSizes(std::vector<double>& itemSizes);
    // The items still in GP, largest first (equal sizes in item order): their
    // numbers and sizes. False when nothing is left or the database could not
    // be read.
    bool LoadItems(std::vector<int16_t>& itemNumbers, std::vector<double>& itemSizes);
    void CommitWorkDatabase();
    void DiscardWorkDatabase();

  private:
    void DropSearchIndexes();

    const RunParameters& params_;
    RunDisplay& display_;
};

}  // namespace zv
