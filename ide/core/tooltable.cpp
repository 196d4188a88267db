// Changes to the tool table made by the tool list dialog and the checks of
// the tool editor, kept here so they hold without a window.
#include "tooltable.h"

#include <algorithm>
#include <utility>

std::string ToolLimitMessage() {
    return "ツールメニューには、" + std::to_string(kMaxTools) + "個までしか登録できません。";
}

std::optional<std::size_t> AddTool(ToolTable& list, const Tool& tool) {
    if (list.count >= kMaxTools) return std::nullopt;
    list.tools[list.count] = tool;
    return list.count++;
}

bool DeleteTool(ToolTable& list, std::size_t index) {
    if (index >= list.count) return false;
    const auto first = list.tools.begin();
    std::move(first + static_cast<std::ptrdiff_t>(index) + 1,
              first + static_cast<std::ptrdiff_t>(list.count),
              first + static_cast<std::ptrdiff_t>(index));
    --list.count;
    list.tools[list.count] = Tool{};
    return true;
}

std::optional<std::size_t> SelectionAfterDelete(std::size_t index, std::size_t remaining) {
    if (remaining == 0) return std::nullopt;
    return std::min(index, remaining - 1);
}

std::size_t MoveToolUp(ToolTable& list, std::size_t index) {
    if (index == 0 || index >= list.count) return index;
    std::swap(list.tools[index], list.tools[index - 1]);
    return index - 1;
}

std::size_t MoveToolDown(ToolTable& list, std::size_t index) {
    if (index + 1 >= list.count) return index;
    std::swap(list.tools[index], list.tools[index + 1]);
    return index + 1;
}

bool CompleteToolEntry(const std::string& title, std::string& command, common::CodePage cp) {
    if (title == kSeparatorTitle && command.empty()) command = kSeparatorCommand.in(cp);
    return !title.empty() && !command.empty();
}
