// Name matching for the source scan, character by character.
#include "pattern.h"

namespace depmill {

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool matchesPattern(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    while (p < pattern.size()) {
        const char c = pattern[p];
        if (c == '*') {
            // The name up to its next "." is taken; the pattern resumes at its own.
            while (n < name.size() && name[n] != '.') ++n;
            while (p < pattern.size() && pattern[p] != '.') ++p;
        } else if (c == '?') {
            if (n < name.size() && name[n] != '.') ++n;
            ++p;
        } else if (c == '.' && n == name.size()) {
            // "name" matches "name.*" and "name.???": the missing extension takes nothing.
            ++p;
            while (p < pattern.size() && (pattern[p] == '?' || pattern[p] == '*')) ++p;
        } else {
            if (n == name.size() || lowerAscii(c) != lowerAscii(name[n])) return false;
            ++p;
            ++n;
        }
    }
    return n == name.size();
}

}  // namespace depmill
