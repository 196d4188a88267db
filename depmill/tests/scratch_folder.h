// A temporary folder for the unit tests that the code under test sees as
// its current folder; removed, and the previous folder restored, at the end.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tempfolder.h"

namespace depmill_unit {

class ScratchFolder {
  public:
    ScratchFolder() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder_.path());
    }
    ~ScratchFolder() { std::filesystem::current_path(previous_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return folder_.path(); }

  private:
    std::filesystem::path previous_;
    TempFolder folder_{"depmill-unit-"};
};

// Creates the file (and its folders) with exactly these bytes.
inline void writeFile(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = AnsiPath(name);
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readFile(const std::string& name) {
    std::ifstream in(AnsiPath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace depmill_unit
