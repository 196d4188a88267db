// Byte-string helpers that must know the code page: texts are handled as
// bytes in the system's code page, Shift-JIS (932) or UTF-8, and a
// double-byte character is never split nor its 0x5C trail byte taken for "\".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace common {

enum class CodePage { Utf8, ShiftJis };

// The system's code page: the codeset of the LC_CTYPE locale here, the ANSI
// code page on Windows. Call setlocale(LC_CTYPE, "") first to get the user's.
CodePage activeCodePage();

// True when the byte starts a character of more than one byte.
bool isLeadByte(CodePage cp, unsigned char byte);

// charLength where text[pos] is 0x80 or above.
std::size_t highCharLength(CodePage cp, std::string_view text, std::size_t pos);

// Length in bytes of the character that starts at text[pos]. A lead byte
// whose next bytes cannot continue it (or at the very end of the text) is a
// character of its own, so a broken character never takes "/", a quote or
// a blank along, nor overruns the text. An ASCII byte, which leads no
// character in either code page, is told without a call.
inline std::size_t charLength(CodePage cp, std::string_view text, std::size_t pos) {
    return static_cast<unsigned char>(text[pos]) < 0x80 ? 1 : highCharLength(cp, text, pos);
}

// Start of the last character of the text (0 for an empty text). Found from
// the front: a trail byte alone does not tell where its character starts.
std::size_t lastCharStart(std::string_view text, CodePage cp);

// A to Z become a to z; every byte of a multi-byte character stays as it is.
std::string toLowerAscii(std::string_view text, CodePage cp);

// Case-insensitive equality under toLowerAscii.
bool equalsIgnoreCase(std::string_view a, std::string_view b, CodePage cp);

}  // namespace common
