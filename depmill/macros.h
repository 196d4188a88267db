// The previous makefile: the include folders of its HDRPATH line and the
// macro definitions of its head block, which the writer carries over.
#pragma once

#include <cstddef>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "codepage.h"
#include "filesystem.h"
#include "headblock.h"
#include "options.h"

namespace depmill {

constexpr std::size_t kMaxMacros = common::kMaxHeadBlockDefinitions;

// Adds the words of the file's first HDRPATH line to includeDirs (each once,
// at most kMaxIncludeDirs in all). A failure ends the run (RunEnd).
void readHeaderPath(const std::string& fileName, std::vector<std::string>& includeDirs,
                    FileSystem& files, std::ostream& err);

class MacroTable {
  public:
    // Loads the head block of definitions of the file, written in the code
    // page cp; the number of entries. A failure ends the run (RunEnd).
    std::size_t readMacros(const std::string& fileName, common::CodePage cp, FileSystem& files,
                           std::ostream& err);

    // The value of the first definition of exactly this name. A value that
    // cannot end the line of a definition (isUsableValue) counts as none:
    // its definition is then among refused().
    std::optional<std::string_view> lookupMacro(std::string_view name) const;

    // The definitions that lookupMacro refused, in the order of the file.
    std::vector<common::MacroDefinition> refused() const;

    void clear() {
        entries_.clear();
        refused_.clear();
    }
    std::size_t size() const { return entries_.size(); }

  private:
    std::vector<common::MacroDefinition> entries_;
    mutable std::set<std::size_t> refused_;  // the entries looked up and refused
};

}  // namespace depmill
