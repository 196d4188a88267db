// The include search, with the file system's answers remembered per path so
// that headers shared by many sources are probed once.
#include "includesearch.h"

#include "fileprobe.h"
#include "names.h"

namespace depmill {

SearchResult IncludeSearch::find(const std::string& name) {
    if (exists(name)) return {true, std::nullopt};
    for (const std::string& dir : includeDirs_) {
        if (exists(joinFolder(dir, name, cp_))) return {true, dir};
    }
    return {};
}

bool IncludeSearch::exists(const std::string& dosPath) {
    const auto known = known_.find(dosPath);
    if (known != known_.end()) return known->second;
    const bool found = canOpenForReading(common::nativePath(dosPath, cp_));
    known_.emplace(dosPath, found);
    return found;
}

}  // namespace depmill
