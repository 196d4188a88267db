// The rules of the build commands that need no window: what a step runs,
// how its result is summed up, the generator's options and the object folder.
#include "buildsteps.h"

#include <filesystem>
#include <system_error>

toolopt BuildStepRequest(const std::string& command, const std::string& name,
                         const std::string& projectfolder) {
    toolopt request;
    request.Name = name;
    request.Command = command;
    request.Folder = projectfolder;
    request.OutputRedirect = true;
    request.Iconed = true;
    return request;
}

BuildStepSummary SummarizeBuildStep(const std::string& name, const RunResult& result) {
    if (result.stopped) return {name + " Stopped.", "BuildError"};
    switch (result.code) {
        case 0:
            return {"End " + name + ".", "BuildComplete"};
        case -1:
            return {name + " Failed.", {}};
        case -2:
            return {name + " Warning.", "BuildWarning"};
        case -3:
            return {name + " Error.", "BuildError"};
        default:
            return {name + " Error (" + std::to_string(result.code) + ").", "BuildError"};
    }
}

void FinishBuildStep(const std::string& name, const RunResult& result, const OutputLineSink& output,
                     SoundPlayer& sounds) {
    if (name.empty()) return;
    const auto summary = SummarizeBuildStep(name, result);
    output(summary.line);
    if (!summary.sound.empty())
        sounds.play(summary.sound, SoundFallback::SystemDefault, SoundWait::No);
}

std::string DepmillCommandLine(const std::string& depmillCommand, const TPROJ& project,
                               bool newProject, const std::string& defaultObjectFolder) {
    std::string command = depmillCommand;
    if (project.targettype == 1) command += " -l";
    if (newProject) {
        command += " -o " + project.targetname;
        if (!defaultObjectFolder.empty()) command += " -O " + defaultObjectFolder;
    }
    command += " -m";
    command += ModelLetter(project.memorymodel);
    if (project.database != 0) command += " -d";
    return command;
}

std::string OutputFolderPath(const std::string& projectfolder, const std::string& outdir) {
    if (outdir.empty() || outdir == ".") return {};
    const char first = outdir.front();
    const bool driveLetter = ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')) &&
                             outdir.size() >= 2 && outdir[1] == ':';
    const bool absolute = first == '\\' || first == '/' || driveLetter;
    // Without a project folder a relative value stays relative, never "/obj".
    if (absolute || projectfolder.empty()) return outdir;
    return projectfolder + kPathSeparator + outdir;
}

void CreateOutputFolder(const TPROJ& project, bool debug, const OutputLineSink& output,
                        UiServices& ui) {
    const std::string outdir = GetMakefileMacro(project.projectfilename, "OUTDIR", ui);
    // The makefile names the folder DOS-style ("obj\debug"); open it natively.
    const std::string folder = common::nativePath(OutputFolderPath(project.projectfolder, outdir),
                                                  common::activeCodePage());
    if (folder.empty()) return;
    if (debug) output("Creating Folder: " + folder);
    // Only the last level: a missing parent or an existing folder is no error.
    std::error_code ignored;
    std::filesystem::create_directory(folder, ignored);
}
