#include "core/engine/ResolveRunParameters.h"

#include <filesystem>

#include "core/settings/SizeFromText.h"

namespace zv {

bool ResolveRunParameters(const RunSettings& settings, const std::string& projectFilePath,
                          RunParameters& params) {
    const double mediaSize = SizeFromText(settings.MediaSize);
    if (mediaSize == 0)
        return false;

    params.mediaSize = mediaSize;
    params.tolerance = settings.DiffSize;
    params.mediaCount = settings.MediaNum;
    params.maxItems = settings.MaxFile;
    params.minItems = settings.MinFile;

    const std::filesystem::path path(projectFilePath);
    params.projectFileName = path.filename().string();
    params.projectFolder = path.parent_path().string();
    params.itemTableName = "MainDB";
    params.providerVersion = "4.0";

    params.fastSearch = settings.MaxSpeed;
    params.method = settings.Method;
    params.fileSystem = settings.FsAllowance;
    return true;
}

}  // namespace zv
