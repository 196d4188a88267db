// Writes the new "makefile" of the current folder for one of the three
// toolchains, keeping the previous one as "makefile.old".
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "filesystem.h"
#include "options.h"
#include "sources.h"

namespace depmill {

// The end of every line of the makefile: the platform's own, as a text file
// written there has it.
#ifdef _WIN32
inline constexpr std::string_view kLineEnd = "\r\n";
#else
inline constexpr std::string_view kLineEnd = "\n";
#endif

// The text with every "\n" written as lineEnd.
std::string withLineEnds(std::string text, std::string_view lineEnd);

// The makefile a run starts from: "makefile", or "Makefile" where the file
// system tells the two names apart and only that one exists; none when
// there is neither. The name may hold something other than a regular file.
std::optional<std::string> findPreviousMakefile(FileSystem& files);

// Writes the makefile; a failure ends the run (RunEnd) with its message on
// err and the previous makefile left as it was. Reads the previous
// makefile's macros unless they are ignored and keeps it as "makefile.old";
// a definition it cannot write back is left out with a warning. May change
// options.toolchain, options.library and options.outDir from those macros.
void writeMakefile(const std::vector<SourceFile>& sources,
                   const std::optional<std::string>& previousMakefile, GeneratorOptions& options,
                   FileSystem& files, std::ostream& warnings, std::ostream& err);

}  // namespace depmill
