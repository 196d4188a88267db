// The previous makefile: the include folders of its HDRPATH line and the
// macro definitions of its head block, which the writer carries over.
#pragma once

#include <cstddef>
#include <iostream>
#include <optional>
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

    // The value of the first definition of exactly this name.
    std::optional<std::string_view> lookupMacro(std::string_view name) const;

    void clear() { entries_.clear(); }
    std::size_t size() const { return entries_.size(); }

  private:
    std::vector<common::MacroDefinition> entries_;
};

}  // namespace depmill
