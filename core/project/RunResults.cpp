#include "core/project/RunResults.h"

#include "core/db/AccessDB.h"
#include "core/platform/PlatformError.h"

namespace zv {

bool ReadRunResults(const std::string& projectPath, std::vector<int16_t>& media) {
    AccessDB db;
    db.SetPath(projectPath);
    if (!db.DBOpen("").ok())
        return false;
    for (int n = 1;; ++n) {
        auto rows = db.Run("SELECT * FROM [Disc_" + std::to_string(n) + "_ID]", adOpenDynamic);
        if (!rows->IsOpen())
            return true;
        for (; !rows->AtEnd(); rows->MoveNext()) {
            const int item = rows->Field("GID").ToInt16();
            if (item < 0 || item >= static_cast<int>(media.size()))
                throw PlatformError::OutOfRange();
            media[item] = static_cast<int16_t>(n);
        }
    }
}

}  // namespace zv
