// The editor's command template and the help keyword of a message.
#include "navigation.h"

#include "commandtemplate.h"

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
                                             common::CodePage cp, const MessageReader* reader) {
    const auto jump = ParseEditorJump(text, reader != nullptr ? *reader : BuiltInMessageReader(cp));
    if (!jump) return std::nullopt;
    return FillEditCommand(editCommand, *jump, cp);
}

std::optional<std::string> ProjectEditCommandLine(std::string_view editCommand,
                                                  const std::string& projectFile,
                                                  common::CodePage cp) {
    if (projectFile.empty()) return std::nullopt;
    return FillEditCommand(editCommand, EditorJump{projectFile, 1}, cp);
}

std::optional<std::string> FindHelpKeyword(std::size_t lineCount, const ReadingAt& readingAt,
                                           std::size_t from) {
    for (std::size_t i = from; i < lineCount; ++i) {
        const MessageReading* message = readingAt(i);
        if (message != nullptr && !message->number.empty()) return message->number;
    }
    return std::nullopt;
}
