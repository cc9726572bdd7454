#pragma once

#include <cstdint>
#include <string>

#include "core/project/ProjectDocument.h"

namespace zv {

// Save modes: to the known file path, or asking for a target.
constexpr int16_t kSaveToPath = 5;
constexpr int16_t kSaveAs = 6;

// Saves the project. Without a known path (or in any mode but kSaveToPath, or
// for a project opened read-only, which is never saved over its own file) the
// user picks the target in the save dialog, with the questions on cancelling
// and on overwriting. On success the target becomes the file path, the
// modified flag is cleared and, unless keepCaption, the caption becomes the
// file name without ".mtb". A failed write shows its message (with its cause)
// and changes nothing; a write whose folder could not be synced once the file
// was in place counts as saved, and says so.
bool SaveProject(ProjectDocument& document, int16_t mode, bool keepCaption);

// The caption of a project saved or loaded at `path`: its file name without a
// final ".mtb" in any letter case.
std::string CaptionOfProjectPath(const std::string& path);

}  // namespace zv
