// Where DOS would find a program: the current folder, then each folder of
// the DOS PATH, trying ".COM", ".EXE" and ".BAT" for a name without an
// extension, as COMMAND.COM does; looked up on the host through the drives.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dosdrives.h"

namespace dosrun {

struct DosProgram {
    std::string hostFile;  // the file on the host
    std::string dosPath;   // the name DOS opens it by: "D:\BIN\CL.EXE", "..\STAND.COM"
};

// The program named on the command line, or nothing when there is none
// (then it may be a command of the DOS shell itself). `currentFolder` is
// the host folder that is the DOS current folder.
std::optional<DosProgram> FindDosProgram(const std::string& program,
                                         const common::DosrunSettings& settings,
                                         const std::string& currentFolder);

// True for a program word that DOSBox's shell takes for one of its own
// commands (DIR, TYPE, "CD\X", "DIR.EXE"), or cuts at a "/" or "=", so that
// only the shell runs it as DOS would.
bool IsShellsOwn(std::string_view program);

}  // namespace dosrun
