// The tool table as the tool list dialog changes it, and the checks of the
// tool editor's OK.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textconversion.h"
#include "tooltable.h"

namespace {

Tool named(const std::string& name) {
    return {name, "prog-" + name, "args-" + name, "dir-" + name, true, false};
}

ToolTable tableOf(const std::vector<std::string>& names) {
    ToolTable list;
    for (const auto& name : names) AddTool(list, named(name));
    return list;
}

std::vector<std::string> names(const ToolTable& list) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < list.count; ++i) result.push_back(list.tools[i].name);
    return result;
}

bool isFresh(const Tool& tool) {
    return tool.name.empty() && tool.command.empty() && tool.arguments.empty() &&
           tool.folder.empty() && !tool.captureOutput && !tool.minimised;
}

}  // namespace

TEST(ToolTable, AddFillsTheFirstFreeSlotUntilTheTableIsFull) {
    ToolTable list;
    for (std::size_t i = 0; i < kMaxTools; ++i) {
        EXPECT_EQ(AddTool(list, named(std::to_string(i))), std::optional<std::size_t>(i));
    }
    EXPECT_EQ(list.tools[3].command, "prog-3");
    EXPECT_EQ(AddTool(list, named("extra")), std::nullopt);
    EXPECT_EQ(list.count, kMaxTools);
    EXPECT_EQ(list.tools[kMaxTools - 1].name, std::to_string(kMaxTools - 1));
    EXPECT_EQ(ToolLimitMessage(), "ツールメニューには、20個までしか登録できません。");
}

TEST(ToolTable, DeleteMovesTheLaterToolsUpAndFreesTheLastSlot) {
    ToolTable list = tableOf({"a", "b", "c"});
    EXPECT_TRUE(DeleteTool(list, 0));
    EXPECT_EQ(names(list), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(list.tools[0].folder, "dir-b");  // every field moves, not just the name
    EXPECT_TRUE(isFresh(list.tools[2]));

    EXPECT_FALSE(DeleteTool(list, 2));  // past the end: nothing changes
    EXPECT_EQ(names(list), (std::vector<std::string>{"b", "c"}));

    EXPECT_TRUE(DeleteTool(list, 1));
    EXPECT_TRUE(DeleteTool(list, 0));
    EXPECT_EQ(list.count, 0u);
    EXPECT_TRUE(isFresh(list.tools[0]));

    // A full table frees its very last slot.
    ToolTable full;
    for (std::size_t i = 0; i < kMaxTools; ++i) AddTool(full, named(std::to_string(i)));
    EXPECT_TRUE(DeleteTool(full, 5));
    EXPECT_EQ(full.tools[5].name, "6");
    EXPECT_TRUE(isFresh(full.tools[kMaxTools - 1]));
    EXPECT_EQ(AddTool(full, named("again")), std::optional<std::size_t>(kMaxTools - 1));
}

TEST(ToolTable, SelectionAfterDeleteKeepsTheIndexOrTakesTheNewLastLine) {
    EXPECT_EQ(SelectionAfterDelete(1, 2), std::optional<std::size_t>(1));  // middle of three
    EXPECT_EQ(SelectionAfterDelete(2, 2), std::optional<std::size_t>(1));  // last of three
    EXPECT_EQ(SelectionAfterDelete(0, 0), std::nullopt);                   // the only one
}

TEST(ToolTable, MovesExchangeWholeToolsAndStopAtTheEnds) {
    ToolTable list = tableOf({"a", "b", "c"});
    list.tools[2].minimised = true;
    EXPECT_EQ(MoveToolUp(list, 2), 1u);
    EXPECT_EQ(names(list), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_TRUE(list.tools[1].minimised);
    EXPECT_FALSE(list.tools[2].minimised);
    EXPECT_EQ(list.tools[2].arguments, "args-b");

    EXPECT_EQ(MoveToolUp(list, 0), 0u);
    EXPECT_EQ(MoveToolDown(list, 2), 2u);
    EXPECT_EQ(MoveToolDown(list, 7), 7u);  // past the end
    EXPECT_EQ(names(list), (std::vector<std::string>{"a", "c", "b"}));

    EXPECT_EQ(MoveToolDown(list, 0), 1u);
    EXPECT_EQ(names(list), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_TRUE(isFresh(list.tools[3]));  // the free slots are never touched
}

TEST(ToolTable, EditorEntryNeedsTitleAndProgramExceptForASeparator) {
    std::string command;
    EXPECT_TRUE(CompleteToolEntry("-", command));
    EXPECT_EQ(command, "区切り線");

    command = "sep.exe";
    EXPECT_TRUE(CompleteToolEntry("-", command));
    EXPECT_EQ(command, "sep.exe");

    command.clear();
    EXPECT_FALSE(CompleteToolEntry("--", command));  // only a lone "-" is a separator
    EXPECT_FALSE(CompleteToolEntry("Tool", command));
    EXPECT_TRUE(command.empty());
    command = "prog";
    EXPECT_FALSE(CompleteToolEntry("", command));
    EXPECT_TRUE(CompleteToolEntry("  ", command));  // blanks are a title
    command = " ";
    EXPECT_TRUE(CompleteToolEntry("Tool", command));
}

// The words the program puts into tool records are the same text in either
// code page, by the system's own tables.
TEST(ToolTable, WordsPutIntoToolRecordsAreTheSameTextInEitherCodePage) {
    using common::CodePage;
    const std::unique_ptr<TextConversion> conversion = CreateSystemTextConversion();
    for (const DataWord& word : {kSeparatorCommand, kNewToolName}) {
        EXPECT_EQ(word.in(CodePage::Utf8), word.utf8);
        EXPECT_EQ(word.in(CodePage::ShiftJis),
                  conversion->convert(word.utf8, CodePage::Utf8, CodePage::ShiftJis));
    }
    std::string command;
    EXPECT_TRUE(CompleteToolEntry("-", command, CodePage::ShiftJis));
    EXPECT_EQ(command, "\x8b\xe6\x90\xd8\x82\xe8\x90\xfc");
}
