#pragma once

#include <string>

#include "core/engine/RunSettings.h"
#include "core/platform/Status.h"

namespace zv {

// An after-run action writes where its project file says, so one stored in a
// file from elsewhere is carried out only once the user confirmed it for that
// file on this machine. The confirmation is kept in the settings file, keyed
// by the project's full path and holding a hash of the action (its kind and
// folder): a changed action, or the same file under another path, is a new
// one to confirm.
class AfterRunConfirmation {
  public:
    AfterRunConfirmation(const std::string& project, const RunSettings& settings);

    // Whether this action of this project has been confirmed; an action that
    // does nothing needs no confirmation.
    bool Confirmed() const;
    // Records the confirmation; the settings file's failure when it cannot.
    Status Confirm() const;

  private:
    std::string key_;
    std::string action_;
    bool acts_;
};

}  // namespace zv
