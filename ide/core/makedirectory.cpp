// Following make through the folders of a recursive build by its
// "Entering directory" and "Leaving directory" lines, and finding the file
// a message names.
#include "makedirectory.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "dospath.h"

namespace {

enum class Move { Enter, Leave };

struct DirectoryChange {
    Move move;
    std::string folder;  // empty for make's "unknown directory"
};

// "make", "make[2]", "/usr/bin/gmake", "mingw32-make.exe[1]": a program
// name without blanks whose last part ends in "make", an optional level.
bool isMakeName(std::string_view name) {
    if (name.empty() || name.find(' ') != std::string_view::npos) return false;
    if (name.back() == ']') {
        const std::size_t open = name.rfind('[');
        if (open == std::string_view::npos) return false;
        const std::string_view level = name.substr(open + 1, name.size() - open - 2);
        if (level.empty() ||
            !std::all_of(level.begin(), level.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        name = name.substr(0, open);
    }
    // Program names are ASCII: their letters compare alike in any code page.
    const auto endsWith = [&name](std::string_view lowerTail) {
        if (name.size() < lowerTail.size()) return false;
        const std::string_view tail = name.substr(name.size() - lowerTail.size());
        return std::equal(tail.begin(), tail.end(), lowerTail.begin(), [](char c, char lower) {
            return (c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c) == lower;
        });
    };
    if (endsWith(".exe")) name.remove_suffix(4);
    return endsWith("make");
}

// The text between the quote that opens right after `lead` and the last
// "'" of the text, and what follows that last quote.
struct Quoted {
    std::string folder;
    std::string_view after;
};

std::optional<Quoted> quotedAfter(std::string_view text, std::string_view lead) {
    if (!text.starts_with(lead) || text.size() <= lead.size()) return std::nullopt;
    const char open = text[lead.size()];
    const std::size_t close = text.rfind('\'');
    if ((open != '\'' && open != '`') || close <= lead.size()) return std::nullopt;
    return Quoted{std::string(text.substr(lead.size() + 1, close - lead.size() - 1)),
                  text.substr(close + 1)};
}

// What make's message (the text after "make: ") says, in English or in
// make's Japanese wording.
std::optional<DirectoryChange> readMessage(std::string_view text) {
    if (text == "Entering an unknown directory") return DirectoryChange{Move::Enter, {}};
    if (text == "Leaving an unknown directory") return DirectoryChange{Move::Leave, {}};
    if (text == "ディレクトリ(ディレクトリ名不明)に入ります")
        return DirectoryChange{Move::Enter, {}};
    if (text == "ディレクトリ(ディレクトリ名不明)から出ます")
        return DirectoryChange{Move::Leave, {}};
    for (const auto& [lead, move] : {std::pair{"Entering directory ", Move::Enter},
                                     std::pair{"Leaving directory ", Move::Leave}}) {
        const auto quoted = quotedAfter(text, lead);
        if (quoted && quoted->after.empty()) return DirectoryChange{move, quoted->folder};
    }
    if (const auto quoted = quotedAfter(text, "ディレクトリ ")) {
        // One of make's Japanese texts has an ideographic space after the quote.
        std::string_view after = quoted->after;
        for (std::string_view space : {" ", "\u3000"}) {
            if (after.starts_with(space)) after.remove_prefix(space.size());
        }
        if (after == "に入ります") return DirectoryChange{Move::Enter, quoted->folder};
        if (after == "から出ます") return DirectoryChange{Move::Leave, quoted->folder};
    }
    return std::nullopt;
}

std::optional<DirectoryChange> readDirectoryLine(std::string_view line) {
    const std::size_t colon = line.find(": ");
    if (colon == std::string_view::npos || !isMakeName(line.substr(0, colon))) return std::nullopt;
    return readMessage(line.substr(colon + 2));
}

}  // namespace

void MakeDirectoryTracker::feed(std::string_view line) {
    const auto change = readDirectoryLine(line);
    if (!change) return;
    if (change->move == Move::Enter) {
        entered_.push_back(change->folder);
        return;
    }
    // Leaving a folder also leaves any entered after it whose leaving line
    // never came; leaving one never entered changes nothing.
    const auto left = std::find(entered_.rbegin(), entered_.rend(), change->folder);
    if (left != entered_.rend()) entered_.erase(std::prev(left.base()), entered_.end());
}

const std::string& MakeDirectoryTracker::current() const {
    static const std::string none;
    return entered_.empty() ? none : entered_.back();
}

namespace {

namespace fs = std::filesystem;

#ifndef _WIN32
bool existsAsIs(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// The name read DOS-style, one folder level at a time from base (from the
// root for a name that starts at one).
std::optional<fs::path> lookUpIgnoringCase(const fs::path& base, const std::string& name,
                                           common::CodePage cp) {
    fs::path found = common::startsAtRoot(name) ? fs::path("/") : base;
    for (const std::string& part : common::dosPathNames(name, cp)) {
        const auto entry = common::EntryIgnoringCase(found, part, cp, true);
        if (!entry) return std::nullopt;
        found = *entry;
    }
    return found;
}
#endif

}  // namespace

std::string ResolveMessageFile(const MessageReading& message, const std::string& projectFolder,
                               common::CodePage cp) {
    // Without a make folder the name stays relative to the project folder,
    // the editor's working folder.
    const bool fromMake = !message.directory.empty();
    const std::string& base = fromMake ? message.directory : projectFolder;
    const std::string asGiven = fromMake ? common::pathInFolder(base, message.file) : message.file;
#ifdef _WIN32
    // Names here are case-blind and "\" separates folders already.
    (void)cp;
    return asGiven;
#else
    // Absolute names stay, relative ones go under the folder.
    const std::string written = common::pathInFolder(base, message.file);
    if (written.empty() || existsAsIs(written)) return asGiven;
    const fs::path folder = base.empty() ? fs::path(".") : fs::path(base);
    const auto found = lookUpIgnoringCase(folder, message.file, cp);
    if (!found) return asGiven;
    const bool absoluteName = common::startsAtRoot(message.file);
    if (fromMake || absoluteName) return found->string();
    return found->lexically_relative(folder).string();
#endif
}
