// The settings of one depmill run, filled from the defaults, DEPMILLOPT and
// the command line, and read by the scan and the writer.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace depmill {

constexpr std::size_t kMaxIncludeDirs = 10;

struct GeneratorOptions {
    bool library = false;
    bool systemIncludes = false;
    bool database = false;
    char model = 0;  // 0 = not given; else one of s, c, m, l, h
    bool responseFiles = true;
    std::string objectExt = "obj";
    int toolchain = 0;  // 0 = cc, 1 = cl + link, 2 = lcc
    std::optional<std::string> outDir;
    bool ignoreOldMacros = false;
    std::vector<std::string> includeDirs;  // in the order added, at most kMaxIncludeDirs
    std::optional<std::string> target;
};

}  // namespace depmill
