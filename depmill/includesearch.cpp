// The include search, with each name's answer remembered, so that headers
// shared by many sources are looked for once.
#include "includesearch.h"

#include "dospath.h"
#include "fileaccess.h"

namespace depmill {

const SearchResult& IncludeSearch::find(const std::string& name) {
    auto known = known_.find(name);
    if (known == known_.end()) known = known_.emplace(name, search(name)).first;
    return known->second;
}

SearchResult IncludeSearch::search(const std::string& name) const {
    if (exists(name)) return {true, std::nullopt};
    for (const std::string& dir : includeDirs_) {
        if (exists(common::joinFolder(dir, name, cp_))) return {true, dir};
    }
    return {};
}

bool IncludeSearch::exists(const std::string& dosPath) const {
    // A ".." goes back by the name, as for DOS, not through the folder on disk.
    return canOpenForReading(common::nativePath(common::withoutDotFolders(dosPath, cp_), cp_));
}

}  // namespace depmill
