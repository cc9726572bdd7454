// The command line's list of sizes ("SIZE NAME" lines): every input either
// fails with a usage error or gives one item per line with a whole size.

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "cli/CliOptions.h"
#include "cli/ItemCollector.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zv;
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    ItemCollector collector(false);
    try {
        collector.AddSizeList(lines, "fuzz");
    } catch (const UsageError&) {
        return 0;
    }
    for (const ProjectItem& item : collector.Items()) {
        const double bytes = item.members.empty() ? -1 : item.members[0].size;
        if (item.members.size() != 1 || item.name.empty() || item.name != item.members[0].path ||
            item.name.find('\n') != std::string::npos || item.name.front() == ' ' ||
            item.name.front() == '\t' || bytes < 0 || bytes > 9007199254740992.0 ||
            bytes != std::floor(bytes)) {
            std::cerr << "a line gave an item that is no file of a size\n";
            std::abort();
        }
    }
    return 0;
}
