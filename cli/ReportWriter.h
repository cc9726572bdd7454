#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/LeftOutReport.h"
#include "cli/ProjectRun.h"
#include "core/project/ProjectFile.h"

namespace zv {

// What the tool tells about a project's media: a readable table, or one JSON
// object for other programs.
struct Report {
    const std::vector<ProjectItem>& items;
    // Capacity of one medium in bytes; 0 when unknown.
    double mediaSize = 0;
    bool completed = true;
    std::optional<RunMessage> message;
    // Search figures by medium number; absent when no run took place.
    const std::map<int, MediumReport>* searches = nullptr;
    // Why items are on no medium, and what the tree held that no disc holds;
    // absent where nobody asked.
    const LeftOutReport* leftOut = nullptr;
};

void WriteTable(std::ostream& out, const Report& report, bool verbose);
void WriteJson(std::ostream& out, const Report& report);

}  // namespace zv
