#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/CombinationSearch.h"
#include "core/engine/RunDisplay.h"

namespace zv {

class AccessDB;

// The items of one medium: their numbers in GP and their sizes.
struct MediumItems {
    std::vector<int16_t> itemNumbers;
    std::vector<double> sizes;
};

// Writes each medium of a run into the work database, over the run's
// connection: the table of its items, the table of its total, and the removal
// of its items from GP.
class ResultRecorder {
  public:
    ResultRecorder(AccessDB& db, RunDisplay& display, const CombinationSearch& search);

    // Records medium n, the combination the search chose. A medium is
    // recorded whole or not at all: on a failure its message is shown,
    // nothing of it stays, and false is returned.
    [[nodiscard]] bool RecordMedium(int n, const std::vector<StackRecord>& bestStack);
    // Records a whole plan as media 1, 2, ..., whole or not at all: on a
    // failure its message is shown, nothing of it stays, and false is returned.
    [[nodiscard]] bool RecordMedia(const std::vector<MediumItems>& media);

  private:
    // The tables of medium n, and then its rows and its items' removal from
    // GP, inside the caller's transaction.
    static std::string IdTable(int n);
    static std::string SizeTable(int n);
    bool CreateTables(int n);
    bool WriteRows(int n, const MediumItems& medium, double total);
    bool Fail(int message);

    AccessDB& db_;
    RunDisplay& display_;
    const CombinationSearch& search_;
};

}  // namespace zv
