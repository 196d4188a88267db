// Runs depmill in the test program itself over a project folder kept in
// memory, its standard output and error captured as strings: the behaviour
// tests that need no real process or file.
#pragma once

#include <ctime>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "depmill_run.h"
#include "memoryfolder.h"
#include "run.h"

namespace depmill_test {

// Files of a project: names (relative to the project folder) and bytes.
using ProjectFiles = std::vector<std::pair<std::string, std::string>>;

// The project folder of one run, with the helpers of the real Sandbox.
class MemoryProject {
  public:
    MemoryFolder& folder() { return folder_; }
    const MemoryFolder& folder() const { return folder_; }

    void write(const std::string& rel, const std::string& text) { folder_.file(rel, text); }
    void write(const ProjectFiles& files) {
        for (const auto& [rel, text] : files) write(rel, text);
    }
    // The whole file, or "<missing>" when it holds no regular file.
    std::string read(const std::string& rel) const {
        return folder_.bytes(rel).value_or("<missing>");
    }
    // A file depmill may have written, its line ends read back as "\n".
    std::string text(const std::string& rel) const {
        return depmill_testing::withNewlines(read(rel));
    }
    std::string makefile() const { return text("makefile"); }
    bool exists(const std::string& rel) const { return folder_.exists(rel); }

    RunResult run(std::vector<std::string> args = {},
                  std::optional<std::string> depmillopt = std::nullopt,
                  common::CodePage codePage = common::CodePage::Utf8) {
        std::ostringstream out;
        std::ostringstream err;
        RunResult result;
        result.started = std::time(nullptr);
        result.status = depmill::runDepmill({std::move(args), std::move(depmillopt), codePage},
                                            folder_, out, err);
        result.ended = std::time(nullptr);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

  private:
    MemoryFolder folder_;
};

inline std::set<std::string> entriesOf(const MemoryProject& project) {
    return project.folder().names();
}

}  // namespace depmill_test
