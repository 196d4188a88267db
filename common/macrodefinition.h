// One macro definition line of a makefile's head block, as both programs
// read it: "NAME = value", with whatever stands between the name and its
// "=" ("+=", ":=") dropped.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "codepage.h"

namespace common {

struct MacroDefinition {
    std::string name;
    std::string value;
};

// The name runs from the first non-white byte to the first blank, tab or
// "="; the value starts after the first "=" that follows, past white space,
// and is kept to the end, trailing blanks included. nullopt when the name is
// empty or no "=" follows it.
std::optional<MacroDefinition> parseMacroDefinition(std::string_view line);

// True when the line (without its line end) is continued on the next one:
// its last character is a backslash. The 0x5C trail byte of a double-byte
// character ("表", "ソ") is no backslash and continues nothing.
bool continuesOnNextLine(std::string_view line, CodePage cp);

}  // namespace common
