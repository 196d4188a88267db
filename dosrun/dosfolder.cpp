#include "dosfolder.h"

#include "dospath.h"

namespace dosrun {

namespace {

bool isDosNameChar(char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    return std::string_view("!#$%&'()-@^_`{}~").find(c) != std::string_view::npos;
}

bool isDosNamePart(std::string_view part, std::size_t maxLength) {
    if (part.empty() || part.size() > maxLength) return false;
    for (const char c : part) {
        if (!isDosNameChar(c)) return false;
    }
    return true;
}

}  // namespace

bool IsDosName(std::string_view name) {
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) return isDosNamePart(name, 8);
    return isDosNamePart(name.substr(0, dot), 8) && isDosNamePart(name.substr(dot + 1), 3);
}

bool DosFolderBelow(const std::string& root, const std::string& folder, std::string* path,
                    std::string* error) {
    const std::string base = root.ends_with('/') ? root : root + '/';
    if (folder != root && !folder.starts_with(base)) {
        *error = "the current folder " + folder + " is not below the root " + root;
        return false;
    }
    std::string dosPath;
    std::string_view rest =
        folder == root ? std::string_view() : std::string_view(folder).substr(base.size());
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view name = rest.substr(0, slash);
        if (!IsDosName(name)) {
            *error = "DOS cannot hold the folder name \"" + std::string(name) + "\" (of " + folder +
                     "): a DOS name is 8.3, without blanks";
            return false;
        }
        dosPath += common::kDosSeparator;
        dosPath += name;
        rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
    }
    *path = dosPath.empty() ? std::string(1, common::kDosSeparator) : dosPath;
    return true;
}

}  // namespace dosrun
