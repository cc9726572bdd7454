#pragma once

#include "core/project/ProjectDocument.h"

namespace zv {

// A project window's own question before it closes: refused during a run,
// asks to save unsaved changes (Cancel refuses; a save that fails offers
// another file, and refuses when that fails or is cancelled too), and empties
// the project. True when the window may close.
bool CloseRequest(ProjectDocument& document);

}  // namespace zv
