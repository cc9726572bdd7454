#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace zv {

// Takes the benchmark's own arguments, the ones before Google Benchmark's
// (which start with "--"), at most `most` of them, out of argc and argv.
inline std::vector<std::string> TakeLeadingArguments(int& argc, char**& argv, int most) {
    std::vector<std::string> taken;
    while (static_cast<int>(taken.size()) < most && 1 + static_cast<int>(taken.size()) < argc &&
           std::string(argv[1 + taken.size()]).rfind("--", 0) != 0)
        taken.emplace_back(argv[1 + taken.size()]);
    argv[taken.size()] = argv[0];
    argc -= static_cast<int>(taken.size());
    argv += taken.size();
    return taken;
}

// Runs the benchmarks that the remaining arguments choose.
inline int RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace zv
