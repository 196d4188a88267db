// Using the output window's lines: the line under the caret, the editor's
// command line from its template, and the message number for the error help.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "codepage.h"
#include "messageline.h"

struct LineSelection {
    std::size_t start = 0;   // position of the line's first character
    std::size_t length = 0;  // the line without its line break
};

// The line that holds the caret, for any character type (bytes here,
// UTF-16 in the window); nullopt when the text is empty.
template <typename Char>
std::optional<LineSelection> SelectCurrentLine(std::basic_string_view<Char> text,
                                               std::size_t caret) {
    if (text.empty()) return std::nullopt;
    if (caret > text.size()) caret = text.size();
    std::size_t start = caret;
    while (start > 0 && text[start - 1] != Char('\n') && text[start - 1] != Char('\r')) --start;
    std::size_t end = start;
    while (end < text.size() && text[end] != Char('\n') && text[end] != Char('\r')) ++end;
    return LineSelection{start, end - start};
}

// Fills the editor template: "%n" the line number (1 when it is 0), "%c" the
// column (1 when it is 0), "%s" the file name quoted so that it reaches the
// editor as one literal argument (in double quotes, or in single quotes on a
// "cmd /c" line run by the shell), "%" with any other character (or a "%" at
// the very end) nothing.
std::string FillEditCommand(std::string_view editCommand, const EditorJump& jump,
                            common::CodePage cp = common::activeCodePage());

// The editor's command line for a selected text (ParseEditorJump, with the
// reader given or the built-in forms); nullopt when it names no file.
std::optional<std::string> EditorCommandLine(std::string_view editCommand, std::string_view text,
                                             common::CodePage cp = common::activeCodePage(),
                                             const MessageReader* reader = nullptr);

// The editor's command line for the project's makefile, the whole path at
// line 1; nullopt when there is no makefile path.
std::optional<std::string> ProjectEditCommandLine(std::string_view editCommand,
                                                  const std::string& projectFile,
                                                  common::CodePage cp = common::activeCodePage());

// The message number for the error help: that of the first message at or
// after line `from` that gives one. nullopt when none does.
std::optional<std::string> FindHelpKeyword(std::size_t lineCount, const ReadingAt& readingAt,
                                           std::size_t from);
