#include "macrodefinition.h"

namespace common {

namespace {

bool isWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::size_t skipWhite(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isWhite(text[pos])) ++pos;
    return pos;
}

}  // namespace

std::optional<MacroDefinition> parseMacroDefinition(std::string_view line) {
    const std::size_t nameStart = skipWhite(line, 0);
    std::size_t nameEnd = nameStart;
    while (nameEnd < line.size() && line[nameEnd] != ' ' && line[nameEnd] != '\t' &&
           line[nameEnd] != '=') {
        ++nameEnd;
    }
    if (nameEnd == nameStart) return std::nullopt;
    const std::size_t equals = line.find('=', nameEnd);
    if (equals == std::string_view::npos) return std::nullopt;
    return MacroDefinition{std::string(line.substr(nameStart, nameEnd - nameStart)),
                           std::string(line.substr(skipWhite(line, equals + 1)))};
}

bool continuesOnNextLine(std::string_view line, CodePage cp) {
    return !line.empty() && line.back() == '\\' && lastCharStart(line, cp) + 1 == line.size();
}

}  // namespace common
