// Finding an included file: the current folder first, then the include
// folders in order. Each candidate path is probed at most once per run.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "codepage.h"

namespace depmill {

struct SearchResult {
    bool found = false;
    std::optional<std::string> dir;  // the include folder it was found in
};

class IncludeSearch {
  public:
    IncludeSearch(const std::vector<std::string>& includeDirs, common::CodePage cp)
        : includeDirs_(includeDirs), cp_(cp) {}

    // Looks for the name as written (it may hold "\" or "/" folders).
    SearchResult find(const std::string& name);

  private:
    bool exists(const std::string& dosPath);

    const std::vector<std::string>& includeDirs_;
    common::CodePage cp_;
    std::unordered_map<std::string, bool> known_;
};

}  // namespace depmill
