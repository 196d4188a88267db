// Reading one line of a source for the file it includes: the C form
// (#include "x.h" or <x.h>) and the assembler form (include x.inc).
#pragma once

#include <cstddef>
#include <string_view>

#include "whitespace.h"

namespace depmill {

struct IncludeLine {
    enum class Kind {
        None,     // not an include line, or a name that is never looked for
        Illegal,  // an include line whose name is not properly delimited
        Quoted,   // a name to look for
        Angled,   // a C name in "<" and ">", looked for only on request
    };
    Kind kind = Kind::None;
    std::string_view name;  // within the line parsed
};

// The C line from its "#" at hash on, the first byte after the line's
// leading white space.
IncludeLine parseCIncludeAt(std::string_view line, std::size_t hash);

// A line of a C, C++, embedded-SQL or grammar source, as read (with its
// "\n"). Most lines hold no "#" there and are passed over without a call.
inline IncludeLine parseCInclude(std::string_view line) {
    const std::size_t pos = common::skipWhite(line, 0);
    if (pos == line.size() || line[pos] != '#') return {};
    return parseCIncludeAt(line, pos);
}

// A line of an assembler source, as read (with its "\n").
IncludeLine parseAsmInclude(std::string_view line);

}  // namespace depmill
