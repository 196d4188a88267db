#include "makefilenames.h"

#include <algorithm>

#include "dospath.h"

namespace depmill {

namespace {

// The make of Windows reads "C:" at the start of a word as a drive; a POSIX
// make takes every ":" of a rule line for the rule's own, and a second one
// stops it with "multiple target patterns".
#ifdef _WIN32
constexpr bool kMakeReadsDriveLetters = true;
#else
constexpr bool kMakeReadsDriveLetters = false;
#endif

// A set of bytes as a table: one look-up per byte of a name.
class ByteSet {
  public:
    constexpr explicit ByteSet(std::string_view bytes) {
        for (char c : bytes) in_[static_cast<unsigned char>(c)] = true;
    }
    constexpr bool has(char c) const { return in_[static_cast<unsigned char>(c)]; }
    bool anyIn(std::string_view name) const {
        return std::any_of(name.begin(), name.end(), [this](char c) { return has(c); });
    }

  private:
    bool in_[256] = {};
};

// Bytes make acts on in a rule line: the blank parts words, "#" starts a
// comment, "=" a variable of the target, ";" the recipe, "|" the order-only
// prerequisites, "*" and "?" are wildcards.
constexpr ByteSet kActedOnByMake{" #=;|*?"};
// Bytes /bin/sh acts on anywhere in a word: expansion, quoting, operators.
constexpr ByteSet kActedOnByShell{"$`&<>()'\""};
// Bytes of a command word that make or the shell act on where a folder's
// or an include's are left alone: "%" makes a target a pattern, "\" escapes
// for the shell.
constexpr ByteSet kActedOnInCommands{"%\\"};

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDriveColon(std::string_view name, std::size_t pos) {
    return kMakeReadsDriveLetters && pos == 1 && isAsciiLetter(name[0]);
}

// True when a "[" stands before a "]": a wildcard set for make and the shell
// (a "[" alone, as the second byte of "ー", is an ordinary byte to both).
bool holdsWildcardSet(std::string_view name) {
    const std::size_t open = name.find('[');
    return open != std::string_view::npos && name.find(']', open + 1) != std::string_view::npos;
}

// True where bash, which is /bin/sh on some systems, could expand braces:
// a "{" before a "," or ".." before a "}"; or, as the assembler's command
// follows the source with "," and its object in one word, a "}" that
// closes no "{" and a "{" that no "}" closes, which the next name's "}"
// would close around that ",".
bool holdsBraceExpansion(std::string_view name) {
    const std::size_t open = name.find('{');
    const std::size_t close = name.rfind('}');
    if (open != std::string_view::npos && close != std::string_view::npos && open < close) {
        const std::string_view inside = name.substr(open + 1, close - open - 1);
        if (inside.find(',') != std::string_view::npos ||
            inside.find("..") != std::string_view::npos) {
            return true;
        }
    }
    int unclosed = 0;
    bool strayClose = false;
    for (char c : name) {
        if (c == '{') ++unclosed;
        if (c != '}') continue;
        if (unclosed == 0) strayClose = true;
        if (unclosed > 0) --unclosed;
    }
    return strayClose && unclosed > 0;
}

// What make does with the name in any rule line.
bool standsInRules(std::string_view name) {
    // "~" starts a home folder for make and the shell; a final 0x5C, a
    // "\" or the second byte of a character, continues the line or escapes
    // the blank after it.
    if (name.empty() || name.front() == '~' || name.back() == '\\' || holdsWildcardSet(name))
        return false;
    for (std::size_t pos = 0; pos < name.size(); ++pos) {
        const char c = name[pos];
        if (isControl(c) || kActedOnByMake.has(c)) return false;
        if (c == ':' && !isDriveColon(name, pos)) return false;
    }
    return true;
}

}  // namespace

bool isUsableName(std::string_view name, NameUse use) {
    if (!standsInRules(name)) return false;
    switch (use) {
        case NameUse::Prerequisite:
            // "lib(member)" names a member of an archive.
            return !(name.back() == ')' && name.find('(') != std::string_view::npos);
        case NameUse::Command:
            if (name.front() == '-' || kActedOnInCommands.anyIn(name)) return false;
            [[fallthrough]];
        case NameUse::Folder:
            return !kActedOnByShell.anyIn(name) && !holdsBraceExpansion(name);
    }
    return false;
}

bool isUsableSource(std::string_view name, std::string_view objectExt, common::CodePage cp) {
    return isUsableName(name, NameUse::Command) &&
           isUsableName(common::replaceExtension(name, objectExt, cp), NameUse::Command);
}

bool isUsableValue(std::string_view value) {
    return value.find('\0') == std::string_view::npos && !value.ends_with('\\');
}

std::string escapedForMake(std::string_view name) {
    if (name.find('$') == std::string_view::npos) return std::string(name);
    std::string written;
    written.reserve(name.size());
    for (char c : name) {
        if (c == '$') written += '$';
        written += c;
    }
    return written;
}

std::string skippedNameWarning(std::string_view name) {
    std::string shown(name);
    for (char& c : shown) {
        if (isControl(c)) c = '?';
    }
    return "Depmill: skipped " + shown + ": not usable in a makefile\n";
}

}  // namespace depmill
