// The argument macros of the user's tools: "$(ProjName)" and its kin are
// replaced by data of the current project, "$(Select)" by a file the user
// picks when the tool starts.
#include "toolopt.h"

#include <string_view>

#include "proj.h"
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

std::string projectValue(Macro macro, const TPROJ& project, common::CodePage cp) {
    switch (macro) {
        case Macro::ProjName:
            return project.projectname;
        case Macro::ProjFile:
            return common::fileNamePart(project.projectfilename, cp);
        case Macro::ProjPath:
            return project.projectfilename;
        case Macro::ProjDir:
        case Macro::ProjFolder:
            return project.projectfolder;
        case Macro::TargetName:
            return project.targetname;
        case Macro::Target:
            return project.projectfolder + kPathSeparator + project.targetname;
        case Macro::Select:
            break;
    }
    return {};
}

}  // namespace

bool ExpandToolArguments(std::string& arguments, const TPROJ& project,
                         const std::string& toolFolder, const ToolFileChooser& choose,
                         common::CodePage cp) {
    const std::string_view text = arguments;
    std::string expanded;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] != '$') {
            expanded += text[pos++];
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
            expanded += text[pos++];
            continue;
        }
        if (found->macro == Macro::Select) {
            const auto file = choose(toolFolder.empty() ? project.projectfolder : toolFolder);
            if (!file) return false;
            expanded += *file;
        } else {
            expanded += projectValue(found->macro, project, cp);
        }
        pos += found->text.size();
    }
    arguments = std::move(expanded);
    return true;
}

bool ExpandToolArguments(std::string& arguments, const TPROJ& project, const toolopt& tool,
                         UiServices& ui) {
    const std::string title = "ツール " + tool.Name + " で使うファイルを選択";
    return ExpandToolArguments(arguments, project, tool.Folder, [&](const std::string& folder) {
        return ui.chooseFile(title, folder, {});
    });
}
