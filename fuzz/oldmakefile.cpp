// Depmill's reading of the previous makefile: the HDRPATH line, then the
// macro table of the head block, in both code pages, and the lookups the
// writer makes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "fileaccess.h"
#include "fuzzinput.h"
#include "macros.h"
#include "runend.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = fuzz::writeScratchFile(fuzz::asText(data, size));
    std::ostringstream err;
    depmill::RealFileSystem files;
    // One folder as if from -I, so the table's limit counts what came before.
    std::vector<std::string> includeDirs = {"inc"};
    try {
        depmill::readHeaderPath(path, includeDirs, files, err);
    } catch (const depmill::RunEnd&) {
        // A failure ends the run; the folders taken so far are still checked.
    }
    fuzz::require(includeDirs.size() <= depmill::kMaxIncludeDirs,
                  "more include folders than the table holds");
    std::vector<std::string> sorted = includeDirs;
    std::sort(sorted.begin(), sorted.end());
    fuzz::require(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end(),
                  "an include folder taken twice");

    for (const auto cp : {common::CodePage::Utf8, common::CodePage::ShiftJis}) {
        depmill::MacroTable table;
        std::optional<std::size_t> count;
        try {
            count = table.readMacros(path, cp, files, err);
        } catch (const depmill::RunEnd&) {
            // A failure ends the run; the lookups still go over what was read.
        }
        fuzz::require(!count || (*count == table.size() && *count <= depmill::kMaxMacros),
                      "the macro count disagrees with the table");
        for (const char* name : {"MODEL", "CFLAGS", "LDFLAGS", "LIBS", "PROGRAM", "LIBRARY"}) {
            table.lookupMacro(name);
        }
    }
    return 0;
}
