// White space taken byte by byte: no byte of a double-byte character is
// one of these, so texts in either code page are skipped alike.
#pragma once

#include <cstddef>
#include <string_view>

namespace common {

// As the C locale's isspace counts it: the blank, and "\t" "\n" "\v" "\f"
// "\r", which are the five codes from 9 on.
inline bool isWhite(char c) {
    return c == ' ' || static_cast<unsigned char>(c - '\t') < 5;
}

// The first position from pos on that holds no white space (the text's
// size when there is none).
inline std::size_t skipWhite(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isWhite(text[pos])) ++pos;
    return pos;
}

// The blanks that part the words of a command line or a makefile value.
inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

inline std::size_t skipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isBlank(text[pos])) ++pos;
    return pos;
}

}  // namespace common
