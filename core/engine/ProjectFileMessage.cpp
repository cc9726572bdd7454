#include "core/engine/ProjectFileMessage.h"

#include "core/platform/FileError.h"
#include "core/strings/StringIds.h"

namespace zv {

int ProjectFileMessage(const Status& status, int otherwise) {
    if (status.code() == FileError::InUse)
        return text_id::ProjectInUse;
    if (status.code() == FileError::ReadOnly)
        return text_id::ProjectReadOnly;
    return otherwise;
}

}  // namespace zv
