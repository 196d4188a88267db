#include "headblock.h"

#include "whitespace.h"

namespace common {

namespace {

// The next logical line, nullopt at the end of the file.
std::optional<std::string> readLogicalLine(LineReader& reader, CodePage cp, LineRoom room) {
    const bool shared = room == LineRoom::SharedByLogicalLine;
    std::optional<std::string> logical;
    std::size_t left = kHeadBlockPieceBytes;
    std::string piece;
    while (reader.next(piece, left)) {
        const bool lineEnd = piece.back() == '\n';
        if (lineEnd) piece.pop_back();
        if (piece.empty() || piece.front() == '#') continue;
        // The line before ended in a backslash: this line takes its place.
        if (logical && shared) logical->pop_back();
        const bool continues = (lineEnd || !shared) && continuesOnNextLine(piece, cp);
        if (shared) {
            left -= piece.size();
        } else if (continues) {
            piece.pop_back();
        }
        if (!logical) logical.emplace();
        logical->append(piece);
        if (!continues) break;
    }
    return logical;
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

HeadBlockEnd readHeadBlock(LineReader& reader, CodePage cp, LineRoom room,
                           std::vector<MacroDefinition>& definitions) {
    definitions.clear();
    while (std::optional<std::string> line = readLogicalLine(reader, cp, room)) {
        if (line->find('=') == std::string::npos) break;
        if (definitions.size() == kMaxHeadBlockDefinitions) return HeadBlockEnd::TooManyDefinitions;
        if (auto definition = parseMacroDefinition(*line))
            definitions.push_back(std::move(*definition));
    }
    return HeadBlockEnd::Complete;
}

}  // namespace common
