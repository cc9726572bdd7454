#include "core/project/PlanRun.h"

#include "core/engine/EntryKind.h"
#include "core/engine/ResolveRunParameters.h"
#include "core/strings/StringTable.h"

namespace zv {

PlanRunResult RunPlan(const std::vector<ProjectItem>& items, const RunSettings& settings,
                      RunRequests& requests, RunObserver& observer, const RunOptions& options) {
    RunParameters params;
    if (const std::optional<RunSettingRefusal> refusal = ResolveRunParameters(settings, params)) {
        PlanRunResult refused;
        std::string text = ResString(refusal->message);
        if (!refusal->cause.empty())
            text += "\r\n" + refusal->cause;
        refused.message = RunMessage{refusal->message, text};
        return refused;
    }

    RunItems runItems;
    runItems.sizes.reserve(items.size());
    for (const ProjectItem& item : items)
        runItems.sizes.push_back(item.Bytes());
    // An empty folder or a link costs other records in an image than a file
    // of its size, so the allowance looks at what each member is now.
    if (params.fileSystem == FileSystemAllowance::Iso9660) {
        for (size_t i = 0; i < items.size(); ++i) {
            for (const ProjectMember& member : items[i].members) {
                MemberFile file{static_cast<int>(i), member.path, member.size, EntryKind::File, {}};
                file.kind = KindOnDisk(file.path, file.target);
                runItems.files.push_back(std::move(file));
            }
        }
    }
    return RunEngine(params, runItems, requests, observer, options);
}

}  // namespace zv
