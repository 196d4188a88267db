// White space as the C locale's isspace counts it, taken byte by byte: no
// byte of a double-byte character is one of these, so texts in either code
// page are skipped alike.
#pragma once

#include <cstddef>
#include <string_view>

namespace common {

inline bool isWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The first position from pos on that holds no white space (the text's
// size when there is none).
inline std::size_t skipWhite(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isWhite(text[pos])) ++pos;
    return pos;
}

}  // namespace common
