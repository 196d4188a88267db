#include "makefilenames.h"

namespace depmill {

namespace {

constexpr std::string_view kNeverInRule = " \t#=;\r\n";
constexpr std::string_view kNeverInCommand = "$`|&<>";

}  // namespace

bool isUsableName(std::string_view name, NameUse use, common::CodePage cp) {
    if (name.empty()) return false;
    for (std::size_t i = 0; i < name.size(); i += common::charLength(cp, name, i)) {
        if (common::charLength(cp, name, i) > 1) continue;
        const char c = name[i];
        if (kNeverInRule.find(c) != std::string_view::npos || (c == ':' && i >= 2)) return false;
        if (use == NameUse::Command && kNeverInCommand.find(c) != std::string_view::npos)
            return false;
    }
    // A final backslash would join the next line of the makefile to the rule.
    const std::size_t last = common::lastCharStart(name, cp);
    return !(last + 1 == name.size() && name[last] == '\\');
}

std::string escapedForMake(std::string_view name) {
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
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return "Depmill: skipped " + shown + ": not usable in a makefile\n";
}

}  // namespace depmill
