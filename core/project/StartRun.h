#pragma once

#include "core/engine/RunObserver.h"
#include "core/engine/RunRequests.h"
#include "core/project/ProjectDocument.h"

namespace zv {

// What a run needs from the program that shows it: the desktop answers with
// its dialogs and main window, the tests with a script.
class RunHost {
  public:
    virtual ~RunHost() = default;

    // Shows the run settings of the project for confirmation and waits until
    // they are closed; true when settings were applied to the project.
    virtual bool ConfirmRunSettings() = 0;
    // Shows the run dialog without waiting for it.
    virtual void OpenRunDialog() = 0;
    // The run dialog's side of the run, valid while it is open.
    virtual RunObserver& Observer() = 0;
    virtual RunRequests& Requests() = 0;
    virtual void CloseRunDialog() = 0;
    // A run began or ended: the commands follow the running flag.
    virtual void RunStateChanged() = 0;
    // The results were read into the items: show them on the result tab.
    virtual void ShowResults() = 0;
};

// Runs the packing of the project from its confirmed settings: saves it (an
// untitled project under its temporary name), records its after-run action
// as confirmed for the saved file, runs the engine on the saved
// file while the run dialog shows the progress, and reads each item's medium
// back. True when the run ended normally and its results were read. At most
// one run goes on in the program at a time; a second start is refused.
bool StartRun(ProjectDocument& project, RunHost& host);

}  // namespace zv
