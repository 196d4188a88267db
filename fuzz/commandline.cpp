// The Windows command-line rules: the split into arguments in both code
// pages and the "cmd /c" recognition. In UTF-8 a blank or tab inside an
// argument comes only from double quotes; in Shift-JIS a lead byte also
// takes the byte after it, whatever it is, as the Windows runtime does.
#include <cstddef>
#include <cstdint>

#include "commandline_posix.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line = fuzz::asText(data, size);
    const bool quoted = line.find('"') != std::string_view::npos;
    for (const std::string& argument : SplitCommandLine(line, common::CodePage::Utf8)) {
        fuzz::require(quoted || argument.find_first_of(" \t") == std::string::npos,
                      "a blank inside an argument without quotes");
    }
    SplitCommandLine(line, common::CodePage::ShiftJis);
    CommandInterpreterRest(line);
    return 0;
}
