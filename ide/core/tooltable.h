// Changes to the tool table that the tool list dialog makes: adding in the
// first free slot, deleting with the later tools moving up, moving a tool
// up or down, and the rules of one entry confirmed in the tool editor.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "tool.h"
#include "uitext.h"

// The title that makes a tool a separator line in the Tools menu, and the
// program a separator gets when it is left empty.
inline constexpr char kSeparatorTitle[] = "-";
inline constexpr DataWord kSeparatorCommand{"区切り線", "\x8b\xe6\x90\xd8\x82\xe8\x90\xfc"};

// The name of a tool the tool list dialog adds.
inline constexpr DataWord kNewToolName{"新規", "\x90\x56\x8b\x4b"};

// Shown when the table is full: "ツールメニューには、20個までしか登録できません。".
std::string ToolLimitMessage();

// Stores tool in the first free slot (the one after the last tool); nullopt,
// with the table unchanged, when all slots hold a tool. Else its index.
std::optional<std::size_t> AddTool(ToolTable& list, const Tool& tool);

// Removes tool index; the later tools move up one slot and the freed last
// slot becomes fresh. False, with nothing changed, for an index past the end.
bool DeleteTool(ToolTable& list, std::size_t index);

// The line to select after line index was deleted and `remaining` lines are
// left: the same index, else the new last line, else none.
std::optional<std::size_t> SelectionAfterDelete(std::size_t index, std::size_t remaining);

// Exchanges tool index with its neighbour above or below; returns the index
// the tool has afterwards (the same at either end or past the end).
std::size_t MoveToolUp(ToolTable& list, std::size_t index);
std::size_t MoveToolDown(ToolTable& list, std::size_t index);

// The editor's OK: a separator title with no program gets the separator
// program; then true when both title and program are given. Blanks count.
bool CompleteToolEntry(const std::string& title, std::string& command,
                       common::CodePage cp = common::activeCodePage());
