#include "programsearch.h"

#include <sys/stat.h>

#include <vector>

#include "codepage.h"
#include "dospath.h"

namespace dosrun {

namespace {

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// dosrun's names are UTF-8, like its command line and settings file.
constexpr common::CodePage kCodePage = common::CodePage::Utf8;

// `dosPath` relative to the current folder, or with a drive letter.
std::optional<std::string> hostFile(const std::string& dosPath,
                                    const common::DosrunSettings& settings,
                                    const std::string& currentFolder) {
    common::DosrunSettings here;
    here.root = currentFolder;
    const auto host =
        common::hasDrivePrefix(dosPath)
            ? common::HostPathOfDosPath(dosPath, settings, settings.root, kCodePage)
            : common::HostPathOfDosPath("C:" + dosPath, here, currentFolder, kCodePage);
    if (host && isRegularFile(*host)) return host;
    return std::nullopt;
}

}  // namespace

std::optional<DosProgram> FindDosProgram(const std::string& program,
                                         const common::DosrunSettings& settings,
                                         const std::string& currentFolder) {
    std::vector<std::string> names;
    if (common::hasExtension(program, kCodePage)) {
        names.push_back(program);
    } else {
        for (const char* extension : {".COM", ".EXE", ".BAT"}) names.push_back(program + extension);
    }
    const auto inFolder = [&](const std::string& folder) -> std::optional<DosProgram> {
        for (const auto& name : names) {
            const std::string dosPath =
                folder.empty() ? name : common::joinFolder(folder, name, kCodePage);
            if (auto host = hostFile(dosPath, settings, currentFolder))
                return DosProgram{*host, dosPath};
        }
        return std::nullopt;
    };
    if (auto found = inFolder({})) return found;
    // A name with a folder or a drive is looked for there only.
    if (!common::folderPart(program, kCodePage).empty()) return std::nullopt;
    std::string path = settings.path;
    for (std::size_t start = 0; start < path.size();) {
        std::size_t end = path.find(';', start);
        if (end == std::string::npos) end = path.size();
        const std::string folder = path.substr(start, end - start);
        if (common::hasDrivePrefix(folder)) {
            if (auto found = inFolder(folder)) return found;
        }
        start = end + 1;
    }
    return std::nullopt;
}

bool IsShellsOwn(std::string_view program) {
    // DOSBox's shell reads a command's name up to a blank, "/", tab or
    // "=", and takes a "." or "\\" after one of its own names for its end.
    static constexpr std::string_view kCommands[] = {
        "ATTRIB", "CALL",     "CD",    "CHDIR", "CHOICE", "CLS",   "COPY", "DEL",
        "DELETE", "DIR",      "ECHO",  "ERASE", "EXIT",   "GOTO",  "HELP", "IF",
        "LH",     "LOADHIGH", "MD",    "MKDIR", "PATH",   "PAUSE", "RD",   "REM",
        "REN",    "RENAME",   "RMDIR", "SET",   "SHIFT",  "SUBST", "TYPE", "VER"};
    if (program.find_first_of("/=") != std::string_view::npos) return true;
    const std::string_view name = program.substr(0, program.find_first_of(".\\"));
    for (const std::string_view command : kCommands) {
        if (common::equalsIgnoreCase(name, command, kCodePage)) return true;
    }
    return false;
}

}  // namespace dosrun
