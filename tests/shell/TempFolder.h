#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shell/ProgramPaths.h"

namespace zv {

// A fresh folder that the test owns and that also serves as the program
// folder, so the settings file of the real build is never touched.
class TempFolder {
  public:
    TempFolder() {
        std::string name = (std::filesystem::temp_directory_path() / "zv-shell-XXXXXX").string();
        path_ = ::mkdtemp(name.data());
        SetProgramFolder(path_);
    }
    ~TempFolder() {
        SetProgramFolder("");
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    std::string File(const std::string& name) const { return path_ + "/" + name; }
    std::string Settings() const { return SettingsFilePath(); }

    static void Write(const std::string& file, const std::string& content) {
        std::ofstream(file, std::ios::binary) << content;
    }
    static std::string Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::string path_;
};

}  // namespace zv
