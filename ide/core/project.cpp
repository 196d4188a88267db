// The project reader: the macro block at the head of a makefile (read by
// common::readHeadBlock, a logical line within the room of one physical
// read) and the project record built from it.
#include "project.h"

#include <new>

#include "dospath.h"
#include "linereader.h"

namespace {

constexpr const char* kOpenTitle = "プロジェクトのオープン";
constexpr const char* kCannotOpen = "プロジェクトファイルがオープンできません。";
constexpr const char* kTooManyMacros = "マクロ定義が多すぎます。";
constexpr const char* kOutOfMemory = "メモリー不足です。";

// Everything after the first backslash (a double-byte character's 0x5C
// trail byte is none), then everything before the first ".".
std::string nameFromSource(const std::string& source, common::CodePage cp) {
    std::string name = source;
    for (std::size_t i = 0; i < name.size(); i += common::charLength(cp, name, i)) {
        if (name[i] == '\\') {
            name.erase(0, i + 1);
            break;
        }
    }
    const auto dot = name.find('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

// Later definitions of the same name are never seen.
const MakefileMacro* firstDefinition(const MakefileMacros& macros, const std::string& name) {
    for (const auto& macro : macros) {
        if (macro.name == name) return &macro;
    }
    return nullptr;
}

}  // namespace

void ResetProject(Project& project) {
    project = Project{};
}

int ReadMakefileMacros(const std::string& path, MakefileMacros& macros, UiServices& ui,
                       common::CodePage cp) {
    macros.clear();
    // A folder, FIFO or device is no makefile: reading one would give no
    // text or wait for ever.
    common::LineReader reader(path);
    if (!reader.isOpen()) {
        ui.showMessage(kOpenTitle, kCannotOpen, MessageIcon::None);
        return -1;
    }
    try {
        // A logical line has the room of one physical read.
        if (common::readHeadBlock(reader, cp, common::LineRoom::SharedByLogicalLine, macros) ==
            common::HeadBlockEnd::TooManyDefinitions) {
            macros.clear();
            ui.showMessage(kOpenTitle, kTooManyMacros, MessageIcon::None);
            return -1;
        }
    } catch (const std::bad_alloc&) {
        macros.clear();
        ui.showMessage(kOpenTitle, kOutOfMemory, MessageIcon::None);
        return -1;
    }
    return static_cast<int>(macros.size());
}

std::string FindMakefileMacro(const MakefileMacros& macros, const std::string& name) {
    const auto* macro = firstDefinition(macros, name);
    return macro != nullptr ? macro->value : std::string();
}

void ApplyMakefileMacros(Project& project, const std::string& path, const MakefileMacros& macros,
                         common::CodePage cp) {
    auto find = [&macros](const char* name) { return firstDefinition(macros, name); };
    if (const auto* model = find("MODEL")) {
        project.memoryModel = ModelFromLetter(model->value.empty() ? '\0' : model->value.front());
    }
    const MakefileMacro* nameSource = find("LIBRARY");
    project.targetType = nameSource != nullptr ? 1 : 0;
    if (nameSource == nullptr) nameSource = find("PROGRAM");
    if (nameSource != nullptr) project.projectName = nameFromSource(nameSource->value, cp);

    project.projectFile = path;
    project.targetName = project.projectName + (project.targetType == 1 ? ".lib" : ".exe");
    project.projectFolder = common::folderPart(path, cp);
    project.database = 0;
}

bool LoadProject(Project& project, const std::string& path, UiServices& ui, common::CodePage cp) {
    MakefileMacros macros;
    if (ReadMakefileMacros(path, macros, ui, cp) <= 0) return false;
    ApplyMakefileMacros(project, path, macros, cp);
    return true;
}

std::string GetMakefileMacro(const std::string& path, const std::string& name, UiServices& ui,
                             common::CodePage cp) {
    MakefileMacros macros;
    if (ReadMakefileMacros(path, macros, ui, cp) <= 0) return {};
    return FindMakefileMacro(macros, name);
}

char ModelLetter(int code) {
    return code >= 1 && code <= 4 ? "smclh"[code] : 's';
}

std::uint8_t ModelFromIndex(int index) {
    return index >= 1 && index <= 4 ? static_cast<std::uint8_t>(index) : 0;
}

int IndexFromModel(int code) {
    return ModelFromIndex(code);
}

std::uint8_t ModelFromLetter(char letter) {
    switch (letter) {
        case 'm':
        case 'M':
            return 1;
        case 'c':
        case 'C':
            return 2;
        case 'l':
        case 'L':
            return 3;
        case 'h':
        case 'H':
            return 4;
        default:
            return 0;
    }
}
