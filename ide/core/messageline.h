// Compiler message lines: the file, line and column that the editor jump
// takes from a line, which lines are messages, and the search for the next
// or previous message line of the output.
//
// Forms read (file names may hold blanks):
//   "file(line) : warning C4001: ..."        the compilers' own form
//   "file(line): Error! E1009: ..."          the same form, other wording
//   "file:line:column: error: ..."           also warning, note, fatal error
//   "file:line: error: ..."                  the same without a column
//   "file:line.column: error: ..."           a dot before the column
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Where a message line points. A column of 0 means the line gives none.
struct EditorJump {
    std::string fileName;
    unsigned long lineNumber = 0;
    unsigned long column = 0;
};

// File name, line number and column for the editor. A line whose head is in
// one of the colon forms (its file name holding neither "(" nor ": ") gives
// those; any other text is read the compilers' way: the file name ends at
// the first "(" or, without one, at the first " "; the line number is the
// run of digits after that character (0 when there is none), no column.
// nullopt when the text is empty or begins with "(" or " ".
std::optional<EditorJump> ParseEditorJump(std::string_view text);

// The place a message line points to: a line in one of the forms above,
// with the word error, warning, note or fatal (any letter case) after the
// position, and a line number greater than 0. Commands, make's own lines and
// summary lines give nullopt.
std::optional<EditorJump> ParseMessageLine(std::string_view line);

// The output's lines by index, as the window holds them.
using LineAt = std::function<std::string(std::size_t index)>;

enum class SearchDirection { Next, Previous };

// The index of the first message line after (Next) or before (Previous)
// line `current` among lineCount lines. Without a current line the search
// starts above the first line, so Next finds the first message and
// Previous none. nullopt when there is no such line.
std::optional<std::size_t> FindMessageLine(std::size_t lineCount, const LineAt& lineAt,
                                           std::optional<std::size_t> current,
                                           SearchDirection direction);
