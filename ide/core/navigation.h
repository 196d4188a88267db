// Reading the output window: the line under the caret, the file and line
// number of a compiler message for the editor, the editor's command line
// from its template, and the message number for the error help.
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

// The editor's command line for a selected text; nullopt when it names no file.
std::optional<std::string> EditorCommandLine(std::string_view editCommand, std::string_view text,
                                             common::CodePage cp = common::activeCodePage());

// The editor's command line for the project's makefile, the whole path at
// line 1; nullopt when there is no makefile path.
std::optional<std::string> ProjectEditCommandLine(std::string_view editCommand,
                                                  const std::string& projectFile,
                                                  common::CodePage cp = common::activeCodePage());

// The five-character message number for the error help, searched in the
// output text from the selection start onwards (past the selected line when
// it has no "("). nullopt when no "(" follows or the word after it does not
// begin with w, W, e or E.
std::optional<std::string> FindHelpKeyword(std::string_view textFromSelection,
                                           common::CodePage cp = common::activeCodePage());
