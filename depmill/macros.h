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
#include "headblock.h"
#include "options.h"

namespace depmill {

constexpr std::size_t kMaxMacros = common::kMaxHeadBlockDefinitions;

// Adds the words of the file's first HDRPATH line to includeDirs (each once,
// at most kMaxIncludeDirs in all). False, with its message written, on failure.
bool readHeaderPath(const std::string& fileName, std::vector<std::string>& includeDirs,
                    std::ostream& err = std::cerr);

class MacroTable {
  public:
    // Loads the head block of definitions of the file, written in the code
    // page cp. Returns the number of entries, or nullopt (its message
    // written) when the load failed.
    std::optional<std::size_t> readMacros(const std::string& fileName, common::CodePage cp,
                                          std::ostream& err = std::cerr);

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
