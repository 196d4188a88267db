// The two include-line parsers. Comments and conditional compilation are
// not recognised: an include line counts wherever it stands.
#include "includescan.h"

#include "whitespace.h"

namespace depmill {

using common::skipWhite;

namespace {

// An empty name cannot name a file; it is reported like a broken line.
IncludeLine named(IncludeLine::Kind kind, std::string_view name) {
    if (name.empty()) return {IncludeLine::Kind::Illegal, {}};
    return {kind, name};
}

bool startsWithAny(std::string_view text, std::initializer_list<std::string_view> prefixes) {
    for (std::string_view prefix : prefixes) {
        if (text.starts_with(prefix)) return true;
    }
    return false;
}

}  // namespace

IncludeLine parseCIncludeAt(std::string_view line, std::size_t hash) {
    constexpr std::string_view kKeyword = "#include";
    std::size_t pos = hash;
    if (line.substr(pos, kKeyword.size()) != kKeyword) return {};
    pos = skipWhite(line, pos + kKeyword.size());
    if (pos == line.size() || (line[pos] != '"' && line[pos] != '<')) {
        return {IncludeLine::Kind::Illegal, {}};
    }
    const char open = line[pos];
    const std::size_t close = line.find_first_of("\">", pos + 1);
    const char wanted = open == '"' ? '"' : '>';
    if (close == std::string_view::npos || line[close] != wanted)
        return {IncludeLine::Kind::Illegal, {}};
    const auto kind = open == '"' ? IncludeLine::Kind::Quoted : IncludeLine::Kind::Angled;
    return named(kind, line.substr(pos + 1, close - pos - 1));
}

IncludeLine parseAsmInclude(std::string_view line) {
    std::size_t pos = skipWhite(line, 0);
    const std::string_view rest = line.substr(pos);
    if (!rest.starts_with("include") && !rest.starts_with("INCLUDE")) return {};
    pos = skipWhite(line, pos + 7);
    const bool quoted = pos < line.size() && line[pos] == '"';
    if (quoted) ++pos;
    std::size_t end = line.find_first_of("\" \t;\n", pos);
    if (end == std::string_view::npos) end = line.size();
    const bool endsAtQuote = end < line.size() && line[end] == '"';
    if (quoted != endsAtQuote) return {IncludeLine::Kind::Illegal, {}};
    const std::string_view name = line.substr(pos, end - pos);
    // The assembler's own macro files are not the project's dependencies.
    if (startsWithAny(name, {"model.mac", "MODEL.MAC", "dos.mac", "DOS.MAC"})) return {};
    return named(IncludeLine::Kind::Quoted, name);
}

}  // namespace depmill
