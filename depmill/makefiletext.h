// The text of a new makefile: header, macro block, object groups, link or
// library rules, one rule block per source and the clean rule.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "macros.h"
#include "options.h"
#include "sources.h"

namespace depmill {

// Object names are spread over groups whose names and separators stay
// below this width.
constexpr std::size_t kObjectGroupWidth = 70;

// Takes over what the previous makefile decides: its CC picks the toolchain,
// its LIBRARY makes a library, its OUTDIR (not "." nor empty) is the object
// folder when none was given.
void applyPreviousSettings(const MacroTable& previous, GeneratorOptions& options);

// The object file name of a source: its name with the object extension,
// inside $(OUTDIR) when an object folder is set.
std::string objectName(const std::string& sourceName, const GeneratorOptions& options);

// The object names spread over the OF1, OF2, ... groups, in order. The
// first group may be empty when the first name alone is too wide.
std::vector<std::vector<std::string>> groupObjectNames(const std::vector<std::string>& names);

// The whole makefile for the sources, dated now. The options must already
// hold the previous makefile's settings (applyPreviousSettings); a grammar's
// generated source is looked for in files.
std::string composeMakefile(const std::vector<SourceFile>& sources, const GeneratorOptions& options,
                            const MacroTable& previous, const std::tm& now, FileSystem& files);

}  // namespace depmill
