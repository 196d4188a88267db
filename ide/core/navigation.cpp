// Parsing compiler message lines for the editor and help jumps, and filling
// the editor's command template.
#include "navigation.h"

#include "commandtemplate.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string FillEditCommand(std::string_view editCommand, const EditorJump& jump,
                            common::CodePage cp) {
    // The file name comes from a child's output: it is quoted for the way
    // the command line will be taken apart, so that it stays one argument.
    CommandLineBuilder command(cp);
    std::size_t pos = 0;
    while (pos < editCommand.size()) {
        const std::size_t length = common::charLength(cp, editCommand, pos);
        if (editCommand[pos] != '%') {
            command.appendTemplate(editCommand.substr(pos, length));
            pos += length;
            continue;
        }
        ++pos;
        if (pos == editCommand.size()) break;  // a lone "%" at the end gives nothing
        const char placeholder = editCommand[pos];
        if (placeholder == 'n')
            command.appendTemplate(std::to_string(jump.lineNumber == 0 ? 1 : jump.lineNumber));
        if (placeholder == 'c')
            command.appendTemplate(std::to_string(jump.column == 0 ? 1 : jump.column));
        if (placeholder == 's') command.appendValue(jump.fileName, ValueQuotes::Always);
        pos += common::charLength(cp, editCommand, pos);
    }
    return command.text();
}

std::optional<std::string> EditorCommandLine(std::string_view editCommand, std::string_view text,
                                             common::CodePage cp) {
    const auto jump = ParseEditorJump(text);
    if (!jump) return std::nullopt;
    return FillEditCommand(editCommand, *jump, cp);
}

std::optional<std::string> ProjectEditCommandLine(std::string_view editCommand,
                                                  const std::string& projectFile,
                                                  common::CodePage cp) {
    if (projectFile.empty()) return std::nullopt;
    return FillEditCommand(editCommand, EditorJump{projectFile, 1}, cp);
}

std::optional<std::string> FindHelpKeyword(std::string_view text, common::CodePage cp) {
    std::size_t pos = text.find('(');
    if (pos == std::string_view::npos) return std::nullopt;
    auto skip = [&](auto matches) {
        while (pos < text.size() && matches(text[pos])) ++pos;
    };
    auto skipOne = [&](char c) {
        if (pos < text.size() && text[pos] == c) ++pos;
    };

    ++pos;
    skip(isDigit);
    skipOne(')');
    skip([](char c) { return c == ' '; });
    skipOne(':');
    skip([](char c) { return c == ' '; });
    // "warning" or "error"; a "fatal error" gives no help.
    if (pos == text.size()) return std::nullopt;
    const char kind = text[pos];
    if (kind != 'w' && kind != 'W' && kind != 'e' && kind != 'E') return std::nullopt;
    skip([](char c) { return c != ' '; });
    skip([](char c) { return c == ' '; });
    if (pos == text.size()) return std::nullopt;

    const std::size_t start = pos;
    for (int characters = 0; characters < 5 && pos < text.size(); ++characters) {
        pos += common::charLength(cp, text, pos);
    }
    return std::string(text.substr(start, pos - start));
}
