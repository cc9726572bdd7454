#include "core/engine/ResolveRunParameters.h"

namespace zv {

std::optional<RunSettingRefusal> ResolveRunParameters(const RunSettings& settings,
                                                      RunParameters& params) {
    double capacity = 0;
    if (std::optional<RunSettingRefusal> refusal = CheckRunSettings(settings, &capacity))
        return refusal;
    params.capacityBytes = capacity;
    params.tolerance = settings.DiffSize;
    params.mediaCount = settings.MediaNum;
    params.maxItems = settings.MaxFile;
    params.minItems = settings.MinFile;
    params.fastSearch = settings.MaxSpeed;
    params.method = settings.Method;
    params.fileSystem = settings.FsAllowance;
    return std::nullopt;
}

}  // namespace zv
