#pragma once

#include <string>

namespace zv {

// Project files for the pictures of the program: real files in a folder
// (sparse, so large sizes cost no disk space) and two projects over them
// that went through a real run, so they hold media.
struct SampleProjects {
    std::string photosAndVideos;
    std::string music;
};

// Makes the files and the projects below `folder`. Throws std::runtime_error
// when a run does not complete.
SampleProjects MakeSampleProjects(const std::string& folder);

}  // namespace zv
