#include "editorchoice.h"

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

bool IsInstalledIn(std::string_view folder, const char* program) {
    if (folder.empty()) return false;  // an empty entry means the current folder: never trusted
    std::error_code error;
    const fs::path file = fs::path(folder) / program;
    const fs::file_status status = fs::status(file, error);
    constexpr fs::perms anyExec =
        fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return !error && fs::is_regular_file(status) &&
           (status.permissions() & anyExec) != fs::perms::none;
}

bool IsInstalled(std::string_view searchPath, const char* program) {
    while (true) {
        const std::size_t colon = searchPath.find(':');
        if (IsInstalledIn(searchPath.substr(0, colon), program)) return true;
        if (colon == std::string_view::npos) return false;
        searchPath.remove_prefix(colon + 1);
    }
}

}  // namespace

std::string FirstInstalledEditCommand(std::string_view searchPath) {
    for (const EditorCandidate& editor : kEditorCandidates) {
        if (IsInstalled(searchPath, editor.program)) return editor.command;
    }
    return kFallbackEditCommand;
}

std::string DefaultEditCommand() {
#ifdef _WIN32
    return kWindowsEditCommand;
#else
    const char* path = std::getenv("PATH");
    return FirstInstalledEditCommand(path != nullptr ? path : "");
#endif
}
