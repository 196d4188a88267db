// A makefile's head block as both programs read it: the "NAME = value"
// definitions before its first logical line without "=". Empty lines and
// lines with "#" in the first column are passed over, also inside a
// continued line, and a line ending in a backslash is joined with the next
// one in the backslash's place.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codepage.h"
#include "linereader.h"

namespace common {

struct MacroDefinition {
    std::string name;
    std::string value;

    bool operator==(const MacroDefinition&) const = default;
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

// One physical read of the head block holds at most this many bytes.
constexpr std::size_t kHeadBlockPieceBytes = 4096;
// The head block may hold this many definitions; one more is refused.
constexpr std::size_t kMaxHeadBlockDefinitions = 200;

// Where the programs part: the room the lines of one logical line have.
enum class LineRoom {
    // One buffer of kHeadBlockPieceBytes holds the whole logical line: a
    // continuation gets the room the lines before it left, a piece that
    // fills the room has no line end and so continues nothing, and a
    // backslash that no line follows stays in the line.
    SharedByLogicalLine,
    // Every piece of kHeadBlockPieceBytes that ends in a backslash is
    // continued, the backslash dropped at once, and the joined line has no
    // bound.
    EachPiece,
};

enum class HeadBlockEnd { Complete, TooManyDefinitions };

// Reads the definitions of the head block into `definitions` (emptied
// first), the file's text in the code page cp; a logical line with "=" that holds no
// definition (no name) is passed over and not counted. TooManyDefinitions
// when a line with "=" follows kMaxHeadBlockDefinitions definitions.
HeadBlockEnd readHeadBlock(LineReader& reader, CodePage cp, LineRoom room,
                           std::vector<MacroDefinition>& definitions);

}  // namespace common
