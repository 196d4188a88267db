// The include search: each candidate path opened as an input would be,
// never read.
#include "includesearch.h"

#include "dospath.h"

namespace depmill {

SearchResult IncludeSearch::find(const std::string& name) const {
    if (exists(name)) return {true, std::nullopt};
    for (const std::string& dir : includeDirs_) {
        if (exists(common::joinFolder(dir, name, cp_))) return {true, dir};
    }
    return {};
}

bool IncludeSearch::exists(const std::string& dosPath) const {
    // A ".." goes back by the name, as for DOS, not through the folder on disk.
    return files_.opens(common::nativePath(common::withoutDotFolders(dosPath, cp_), cp_));
}

}  // namespace depmill
