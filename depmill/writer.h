// Writes the new "makefile" of the current folder for one of the three
// toolchains, keeping the previous one as "makefile.old".
#pragma once

#include <iostream>
#include <vector>

#include "options.h"
#include "sources.h"

namespace depmill {

// True when the makefile was written; on failure its message is written to
// err and "makefile" is left as it was. May change options.toolchain,
// options.library and options.outDir from the previous makefile's macros.
bool writeMakefile(const std::vector<SourceFile>& sources, GeneratorOptions& options,
                   std::ostream& err = std::cerr);

}  // namespace depmill
