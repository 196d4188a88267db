#include "dospath.h"

#include <system_error>

namespace common {

namespace {

// "\", "/" or ":": what ends a folder or a drive, so the file name follows.
bool isSeparator(char c) {
    return isFolderSeparator(c) || c == ':';
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Index of the last separator character of the path, or npos.
std::size_t lastSeparator(std::string_view path, CodePage cp) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); i += charLength(cp, path, i)) {
        if (isSeparator(path[i])) last = i;
    }
    return last;
}

// Index of the last "." after the last folder separator, or npos.
std::size_t extensionDot(std::string_view name, CodePage cp) {
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = 0; i < name.size(); i += charLength(cp, name, i)) {
        if (name[i] == '.') dot = i;
        if (isFolderSeparator(name[i])) dot = std::string_view::npos;
    }
    return dot;
}

// Calls take with each name between the folder separators of the path, in
// order; the empty ones of a leading, doubled or final separator left out.
template <typename Take>
void forEachName(std::string_view path, CodePage cp, Take take) {
    std::size_t start = 0;
    for (std::size_t pos = 0; pos <= path.size();) {
        if (pos == path.size() || isFolderSeparator(path[pos])) {
            if (pos > start) take(path.substr(start, pos - start));
            start = ++pos;
            continue;
        }
        pos += charLength(cp, path, pos);
    }
}

}  // namespace

bool isFolderSeparator(char c) {
    return c == '\\' || c == '/';
}

bool startsAtRoot(std::string_view path) {
    return !path.empty() && isFolderSeparator(path.front());
}

bool hasDrivePrefix(std::string_view path) {
    return path.size() >= 2 && path[1] == ':';
}

bool isAbsoluteDosPath(std::string_view path) {
    return startsAtRoot(path) || (hasDrivePrefix(path) && isAsciiLetter(path.front()));
}

std::string folderPart(std::string_view path, CodePage cp) {
    const std::size_t last = lastSeparator(path, cp);
    if (last == std::string_view::npos) return {};
    if (path[last] == ':' || last == 0) return std::string(path.substr(0, last + 1));
    // Keep the separator of a root ("c:\", "\\"): the one before it must be a
    // whole character, not the trail byte of a double-byte one.
    const std::size_t prev = lastCharStart(path.substr(0, last), cp);
    if (charLength(cp, path, prev) == 1 && isSeparator(path[prev])) {
        return std::string(path.substr(0, last + 1));
    }
    return std::string(path.substr(0, last));
}

std::string fileNamePart(std::string_view path, CodePage cp) {
    const std::size_t last = lastSeparator(path, cp);
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

bool endsWithSeparator(std::string_view text, CodePage cp) {
    // A last byte that is no separator ends none, whatever character it is of.
    if (text.empty() || !isSeparator(text.back())) return false;
    const std::size_t last = lastCharStart(text, cp);
    return last + 1 == text.size() && isSeparator(text[last]);
}

std::string joinFolder(std::string_view folder, std::string_view name, CodePage cp,
                       char separator) {
    std::string path(folder);
    if (!endsWithSeparator(folder, cp)) path += separator;
    path += name;
    return path;
}

std::string pathInFolder(std::string_view folder, std::string_view name) {
    if (name.empty() || name == ".") return {};
    if (isAbsoluteDosPath(name) || folder.empty()) return std::string(name);
    std::string path(folder);
    path += kNativeSeparator;
    path += name;
    return path;
}

bool hasExtension(std::string_view name, CodePage cp) {
    return extensionDot(name, cp) != std::string_view::npos;
}

std::string replaceExtension(std::string_view name, std::string_view ext, CodePage cp) {
    std::string out(name.substr(0, extensionDot(name, cp)));
    out += '.';
    out += ext;
    return out;
}

std::vector<std::string> dosPathNames(std::string_view path, CodePage cp) {
    std::vector<std::string> names;
    forEachName(path, cp, [&names](std::string_view name) { names.emplace_back(name); });
    return names;
}

std::string withoutDotFolders(std::string_view path, CodePage cp) {
    std::size_t rest = hasDrivePrefix(path) ? 2 : 0;
    const bool rooted = rest < path.size() && isFolderSeparator(path[rest]);
    if (rooted) ++rest;
    std::vector<std::string_view> kept;
    forEachName(path.substr(rest), cp, [&](std::string_view name) {
        if (name == ".") return;
        if (name == ".." && !kept.empty() && kept.back() != "..") {
            kept.pop_back();
        } else if (name != ".." || !rooted) {
            kept.push_back(name);
        }
    });
    std::string out(path.substr(0, rest));
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0) out += kDosSeparator;
        out += kept[i];
    }
    return out;
}

std::string withSeparator(std::string_view path, char separator, CodePage cp) {
    std::string out(path);
    for (std::size_t i = 0; i < out.size(); i += charLength(cp, out, i)) {
        if (out[i] == kDosSeparator) out[i] = separator;
    }
    return out;
}

std::string nativePath(std::string_view path, CodePage cp) {
    return withSeparator(path, kNativeSeparator, cp);
}

std::optional<std::filesystem::path> EntryIgnoringCase(const std::filesystem::path& folder,
                                                       const std::string& name, CodePage cp,
                                                       bool passOverLinks) {
    namespace fs = std::filesystem;
    if (name == "." || name == "..") return folder / name;
    std::error_code error;
    const fs::file_status exact = fs::symlink_status(folder / name, error);
    if (fs::exists(exact) && !(passOverLinks && fs::is_symlink(exact))) return folder / name;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        if (passOverLinks && it->is_symlink(statusError)) continue;
        if (equalsIgnoreCase(it->path().filename().string(), name, cp)) return it->path();
    }
    return std::nullopt;
}

}  // namespace common
