// The child's output arrives in the code page of the program that wrote it
// (a DOS compiler writes Shift-JIS, a Linux tool UTF-8); each line is turned
// into the IDE's own code page before anything shows or reads it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "codepage.h"
#include "textconversion.h"

// The stored choice "OutputEncoding"; its values are stored, keep them.
enum class OutputEncoding : std::int32_t {
    Automatic = 0,  // UTF-8 where the line is valid UTF-8, Shift-JIS otherwise
    Utf8 = 1,
    ShiftJis = 2,
};

// The stored number as a choice; an unknown number is Automatic.
OutputEncoding ToOutputEncoding(std::int32_t stored);

// True when every byte is below 0x80.
bool IsAscii(std::string_view bytes);

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The code page one line is written in under the choice.
common::CodePage LineCodePage(std::string_view line, OutputEncoding encoding);

// One line of the child's output in the IDE's code page `target`. Lines of
// ASCII only, and lines already valid in the target, are kept as they are
// (the line itself is given back); every other line goes through
// `conversion`, into `converted`.
std::string_view DecodeOutputLine(std::string_view line, OutputEncoding encoding,
                                  common::CodePage target, const TextConversion& conversion,
                                  std::string& converted);
