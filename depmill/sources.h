// The sources of the current folder, in pattern order, each with the files
// it includes directly.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "filesystem.h"
#include "options.h"

namespace depmill {

constexpr std::size_t kMaxSources = 500;

enum class SourceKind { EmbeddedSql, Cpp, C, Assembler, Grammar };

struct IncludeDep {
    std::string name;                // exactly as written between the delimiters
    std::optional<std::string> dir;  // the includeDirs entry it was found in
};

struct SourceFile {
    SourceKind kind;
    std::string name;  // as written into the makefile
    std::vector<IncludeDep> deps;
};

// Lists the sources of the current folder and reads their include lines.
// Warnings go to the warnings stream; a failure ends the run (RunEnd), its
// message on err.
std::vector<SourceFile> scanSources(const GeneratorOptions& options, FileSystem& files,
                                    std::ostream& warnings, std::ostream& err);

}  // namespace depmill
