// One tool of the Tools menu and, equally, one run request of the runner;
// the table of the user's tools and the macros of their argument texts.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "codepage.h"

struct Tool {
    std::string name;
    std::string command;
    std::string arguments;
    std::string folder;
    bool captureOutput = false;  // run captured into the output window
    bool minimised = false;      // console hidden / started minimised
};

constexpr std::size_t kMaxTools = 20;

// Exactly kMaxTools slots; slots 0 to count-1 hold the tools in menu order.
struct ToolTable {
    std::array<Tool, kMaxTools> tools;
    std::size_t count = 0;
};

// The command line of a run: Command, one blank and Arguments; Command
// alone when Arguments is empty. Nothing is quoted here: the arguments were
// quoted for this line when their macros were expanded.
std::string ComposeCommandLine(const Tool& tool);

struct Project;
class UiServices;

// Asks the user for the file of one "$(Select)", starting in the given
// folder (empty: the chooser's own default); nullopt when cancelled.
using ToolFileChooser = std::function<std::optional<std::string>(const std::string& initialFolder)>;

// Replaces the macros of a tool's argument text in place: "$(Select)",
// "$(ProjName)", "$(ProjFile)", "$(ProjPath)", "$(ProjDir)", "$(ProjFolder)",
// "$(TargetName)", "$(Target)". Any other "$x" gives x; a final "$" is
// dropped. Returns false, with the text unchanged, when a chooser was
// cancelled. "$(Select)" starts in toolFolder, else in the project folder.
// The values come from the project's files and folders: each is written so
// that the program receives it as literal text, under the quoting rules of
// the whole command line, `command` (the tool's program), a blank and the
// arguments (CommandSyntaxOf), whatever quotes the template puts around the
// macro.
bool ExpandToolArguments(std::string& arguments, const Project& project,
                         const std::string& toolFolder, const ToolFileChooser& choose,
                         common::CodePage cp = common::activeCodePage(),
                         std::string_view command = {});

// The same for a tool click: the chooser is the UI's file-open dialog titled
// "ツール <Name> で使うファイルを選択", with no filter of its own.
bool ExpandToolArguments(std::string& arguments, const Project& project, const Tool& tool,
                         UiServices& ui);
