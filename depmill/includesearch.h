// Finding an included file: the current folder first, then the include
// folders in order.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "codepage.h"
#include "filesystem.h"

namespace depmill {

struct SearchResult {
    bool found = false;
    std::optional<std::string> dir;  // the include folder it was found in
};

class IncludeSearch {
  public:
    IncludeSearch(const std::vector<std::string>& includeDirs, common::CodePage cp,
                  FileSystem& files)
        : includeDirs_(includeDirs), cp_(cp), files_(files) {}

    // Looks for the name as written (it may hold "\" or "/" folders).
    SearchResult find(const std::string& name) const;

  private:
    bool exists(const std::string& dosPath) const;

    const std::vector<std::string>& includeDirs_;
    common::CodePage cp_;
    FileSystem& files_;
};

}  // namespace depmill
