// The makefile path recorded for a new project.
#include "newprojectmakefile.h"

#include <filesystem>
#include <system_error>

#include "dospath.h"

std::string NewProjectMakefile(const std::string& chosenPath, common::CodePage cp) {
    std::error_code error;
    if (chosenPath.empty() || std::filesystem::exists(common::nativePath(chosenPath, cp), error)) {
        return chosenPath;
    }
    // Everything up to and including the last separator: the folder as typed.
    const std::string fileName = common::fileNamePart(chosenPath, cp);
    return chosenPath.substr(0, chosenPath.size() - fileName.size()) + kGeneratedMakefileName;
}
