#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "core/platform/Status.h"

namespace zv {

// True when the write permission of the file at `path` has been taken away:
// no write bit is set, or the user may not write it. Such a file is left as
// it is even by a user whom the system would let replace it. A missing file is
// not read-only.
bool IsReadOnlyFile(const std::string& path);

// FileError::ReadOnly, saying which file.
Status ReadOnlyFailure(const std::string& path);

// The file that writing to `path` replaces: the end of the chain of symbolic
// links that starts at `path` (a relative link counts from the folder that
// holds it), or `path` itself when it is no link. A link whose file is missing
// leads to where it points, so the first save through a link made in advance
// creates the file there instead of breaking the link. A chain that does not
// end fails with ELOOP, a link that cannot be read with its own error.
Status FinalTarget(const std::string& path, std::string& target);

// Puts the complete file `from` in the place of `to` in one step, so that `to`
// is at every moment either the old file or the whole new one, also after a
// crash or a power cut: `from` is synced, takes over the permissions (and,
// where the system allows, the owner) of the file it replaces, is renamed over
// `to`, and the folder is synced. When `to` is a symbolic link, the file at
// its FinalTarget is replaced and the link stays; a `from` on another file
// system than that file is first copied beside it. A read-only `to` is
// refused (FileError::ReadOnly). On a failure before the rename both files
// stay as they were; a failed sync of the folder after it is
// FileError::NotSynced, with `to` holding the new file.
Status AtomicReplace(const std::string& from, const std::string& to);

// Writes `content` to a new file beside the FinalTarget of `target` and puts
// it in that file's place with AtomicReplace; the new file of a missing target
// gets the usual permissions. The temporary file does not outlive a failure.
Status WriteFileAtomically(const std::string& target, std::string_view content);

// Writes `content` to a new file at `path`, where nothing may be yet, made
// with `mode` (less the umask) so that it is never readable by more people,
// and syncs it; nothing is left there on a failure.
Status WriteNewFile(const std::string& path, std::string_view content, mode_t mode = 0666);

// Copies the file `from` to `to`, where nothing may be yet, made with `mode`
// (less the umask); nothing is left there on a failure.
Status CopyToNewFile(const std::string& from, const std::string& to, mode_t mode = 0666);

}  // namespace zv
