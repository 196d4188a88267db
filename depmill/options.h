// The settings of one depmill run, filled from the defaults, DEPMILLOPT and
// the command line, and read by the scan and the writer.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "codepage.h"

namespace depmill {

constexpr std::size_t kMaxIncludeDirs = 10;

struct GeneratorOptions {
    bool library = false;
    bool systemIncludes = false;
    bool database = false;
    char model = 0;  // 0 = not given; else one of s, c, m, l, h
    bool responseFiles = true;
    std::string objectExt = "obj";
    int toolchain = 0;  // the number of its row in toolchains() (depmill/toolchains.h)
    std::optional<std::string> outDir;
    bool ignoreOldMacros = false;
    std::vector<std::string> includeDirs;  // in the order added, at most kMaxIncludeDirs
    std::optional<std::string> target;
    // How names and texts are split into characters (lower-casing, "\").
    common::CodePage codePage = common::CodePage::Utf8;
};

// The include folder that a database project adds.
inline constexpr std::string_view kDatabaseHeaderDir = "..\\header";

inline constexpr std::string_view kUsageLine =
    "Usage: Depmill [-oTarget] [-Iinclude] [-Ooutdir] [-l -s -d -m] [-b ext] [-t{0|1|2|3}]\n";

// Writes the version banner, one line.
void writeBanner(std::ostream& err);

// Applies the text of the DEPMILLOPT variable: letters D, L, S, T, each
// followed somewhere by its value, a digit that numbers a row of the
// toolchain table (toolchainOfDigit). A database setting then adds the
// database include folder.
void applyOptionVariable(std::string_view text, GeneratorOptions& options);

// Reads the command-line arguments (without the program name) into options.
// Messages go to err, the help text to out; where the run must end here
// (a help request, an error), it ends (RunEnd).
void parseArguments(const std::vector<std::string>& args, GeneratorOptions& options,
                    std::ostream& out, std::ostream& err);

}  // namespace depmill
