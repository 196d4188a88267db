// The argument macros of the user's tools: "$(ProjName)" and its kin are
// replaced by data of the current project, "$(Select)" by a file the user
// picks when the tool starts.
#include "tool.h"

#include <string_view>
#include <utility>

#include "commandtemplate.h"
#include "dospath.h"
#include "project.h"
#include "uiservices.h"

namespace {

enum class Macro { Select, ProjName, ProjFile, ProjPath, ProjDir, ProjFolder, TargetName, Target };

struct MacroName {
    std::string_view text;
    Macro macro;
};

// Compared in this order; case matters.
constexpr MacroName kMacroNames[] = {
    {"(Select)", Macro::Select},         {"(ProjName)", Macro::ProjName},
    {"(ProjFile)", Macro::ProjFile},     {"(ProjPath)", Macro::ProjPath},
    {"(ProjDir)", Macro::ProjDir},       {"(ProjFolder)", Macro::ProjFolder},
    {"(TargetName)", Macro::TargetName}, {"(Target)", Macro::Target},
};

std::string projectValue(Macro macro, const Project& project, common::CodePage cp) {
    switch (macro) {
        case Macro::ProjName:
            return project.projectName;
        case Macro::ProjFile:
            return common::fileNamePart(project.projectFile, cp);
        case Macro::ProjPath:
            return project.projectFile;
        case Macro::ProjDir:
        case Macro::ProjFolder:
            return project.projectFolder;
        case Macro::TargetName:
            return project.targetName;
        case Macro::Target:
            return project.projectFolder + common::kNativeSeparator + project.targetName;
        case Macro::Select:
            break;
    }
    return {};
}

}  // namespace

std::string ComposeCommandLine(const Tool& tool) {
    if (tool.arguments.empty()) return tool.command;
    return tool.command + " " + tool.arguments;
}

bool ExpandToolArguments(std::string& arguments, const Project& project,
                         const std::string& toolFolder, const ToolFileChooser& choose,
                         common::CodePage cp, std::string_view command) {
    // The line is built as the runner will run it, the program, a blank and
    // the arguments (ComposeCommandLine), so that its syntax and the quoting
    // state at each macro are those of the whole command line: a program
    // "cmd" with arguments "/c ..." runs by the shell's rules too.
    const std::string head = std::string(command) + " ";
    CommandLineBuilder line(cp);
    line.appendTemplate(head);
    const std::string_view text = arguments;
    std::string written;  // template text not yet handed to the line
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] != '$') {
            written += text[pos++];
            continue;
        }
        ++pos;  // the "$" itself is never copied
        if (pos == text.size()) break;
        const MacroName* found = nullptr;
        for (const auto& name : kMacroNames) {
            if (text.substr(pos).starts_with(name.text)) {
                found = &name;
                break;
            }
        }
        if (found == nullptr) {
            written += text[pos++];
            continue;
        }
        std::string value;
        if (found->macro == Macro::Select) {
            const auto file = choose(toolFolder.empty() ? project.projectFolder : toolFolder);
            if (!file) return false;
            value = *file;
        } else {
            value = projectValue(found->macro, project, cp);
        }
        line.appendTemplate(std::exchange(written, {}));
        line.appendValue(value);
        pos += found->text.size();
    }
    line.appendTemplate(written);
    arguments = line.text().substr(head.size());
    return true;
}

bool ExpandToolArguments(std::string& arguments, const Project& project, const Tool& tool,
                         UiServices& ui) {
    const UiText title = UiText("ツール ").data(tool.name).words(" で使うファイルを選択");
    return ExpandToolArguments(
        arguments, project, tool.folder,
        [&](const std::string& folder) { return ui.chooseFile(title, folder, {}); },
        common::activeCodePage(), tool.command);
}
