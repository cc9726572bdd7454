#pragma once

#include "core/project/ProjectDocument.h"

namespace zv {

// A project window's own question before it closes: refused during a run,
// asks to save unsaved changes (Cancel refuses), deletes the temporary project copy a run left, and
// empties the project. True when the window may close.
bool CloseRequest(ProjectDocument& document);

}  // namespace zv
