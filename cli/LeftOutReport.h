#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/ItemCollector.h"
#include "core/engine/RunSettings.h"
#include "core/project/ProjectFile.h"
#include "core/project/UnplacedItem.h"

namespace zv {

// What should be on a disc and is on none: the items a plan left off every
// medium, with their reasons, and the entries of the tree no disc can hold.
class LeftOutReport {
  public:
    LeftOutReport(const std::vector<ProjectItem>& items, const RunSettings& settings,
                  double capacity, std::vector<ItemCollector::Skipped> skipped = {});

    bool Empty() const { return unplaced_.empty() && skipped_.empty(); }
    const std::vector<UnplacedItem>& Unplaced() const { return unplaced_; }
    const std::vector<ItemCollector::Skipped>& Skipped() const { return skipped_; }

    // Names each of them on its own line, and what to do about them, so that
    // a script reading only the JSON or the exit status hears of it as well.
    void Write(std::ostream& err) const;
    // The exit status of a command that otherwise succeeded.
    int ExitStatus(bool allowed) const;

  private:
    std::string Reason(const UnplacedItem& item) const;

    const std::vector<ProjectItem>& items_;
    RunSettings settings_;
    double capacity_;
    std::vector<UnplacedItem> unplaced_;
    std::vector<ItemCollector::Skipped> skipped_;
};

// A reason as JSON names it ("larger_than_medium", ...).
const char* ReasonName(UnplacedReason reason);

}  // namespace zv
