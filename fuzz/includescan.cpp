// Both include-line parsers on every line of the input, each line with its
// line feed as the scan reads it. A name handed back is never empty, stands
// in the line and holds none of its own delimiters.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzzinput.h"
#include "includescan.h"

namespace {

void checkName(const depmill::IncludeLine& include, std::string_view line,
               std::string_view delimiters) {
    using Kind = depmill::IncludeLine::Kind;
    if (include.kind != Kind::Quoted && include.kind != Kind::Angled) {
        fuzz::require(include.name.empty(), "a name beside no include");
        return;
    }
    fuzz::require(!include.name.empty(), "an empty include name");
    fuzz::require(line.find(include.name) != std::string_view::npos, "a name not in the line");
    fuzz::require(include.name.find_first_of(delimiters) == std::string::npos,
                  "a name holding its delimiter");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = fuzz::asText(data, size);
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size() - 1);
        const std::string_view line = text.substr(0, end + 1);
        text.remove_prefix(end + 1);
        checkName(depmill::parseCInclude(line), line, "\">");
        checkName(depmill::parseAsmInclude(line), line, "\" \t;\n");
    }
    return 0;
}
