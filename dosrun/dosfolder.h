// The DOS current folder: the place of the host's current folder below the
// folder that is drive C:, each name on the way one that DOS can hold.
#pragma once

#include <string>
#include <string_view>

namespace dosrun {

// An 8.3 name: one to eight characters, optionally a dot and one to three
// more, each a letter, a digit or one of !#$%&'()-@^_`{}~ (no blank, no
// byte beyond ASCII, whose meaning in DOS would depend on its code page).
bool IsDosName(std::string_view name);

// The DOS path of `folder` on drive C: into `path`: "\" for the root itself,
// else "\SRC\LIB" with the host's names. Both folders absolute and free of
// "." and ".." (as the system's canonical names are). False, with the
// reason in `error` and `path` left as it was, when the folder has no DOS
// path.
bool DosFolderBelow(const std::string& root, const std::string& folder, std::string* path,
                    std::string* error);

}  // namespace dosrun
