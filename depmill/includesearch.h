// Finding an included file: the current folder first, then the include
// folders in order. Each name is searched once per run: the answer depends
// only on the name, since the folders stay the same for every source.
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
    const SearchResult& find(const std::string& name);

  private:
    SearchResult search(const std::string& name) const;
    bool exists(const std::string& dosPath) const;

    const std::vector<std::string>& includeDirs_;
    common::CodePage cp_;
    std::unordered_map<std::string, SearchResult> known_;
};

}  // namespace depmill
