// Reading one line of a source for the file it includes: the C form
// (#include "x.h" or <x.h>) and the assembler form (include x.inc).
#pragma once

#include <string>
#include <string_view>

namespace depmill {

struct IncludeLine {
    enum class Kind {
        None,     // not an include line, or a name that is never looked for
        Illegal,  // an include line whose name is not properly delimited
        Quoted,   // a name to look for
        Angled,   // a C name in "<" and ">", looked for only on request
    };
    Kind kind = Kind::None;
    std::string name;
};

// A line of a C, C++, embedded-SQL or grammar source, as read (with its "\n").
IncludeLine parseCInclude(std::string_view line);

// A line of an assembler source, as read (with its "\n").
IncludeLine parseAsmInclude(std::string_view line);

}  // namespace depmill
