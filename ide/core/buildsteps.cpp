// The rules of the build commands that need no window: what a step runs,
// how its result is summed up, the generator's options and the object folder.
#include "buildsteps.h"

#include <filesystem>
#include <system_error>

#include "dospath.h"

Tool BuildStepRequest(const std::string& command, const std::string& name,
                      const std::string& projectFolder) {
    Tool request;
    request.name = name;
    request.command = command;
    request.folder = projectFolder;
    request.captureOutput = true;
    request.minimised = true;
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
    output(summary.line, LineKind::Summary);
    if (!summary.sound.empty())
        sounds.play(summary.sound, SoundFallback::SystemDefault, SoundWait::No);
}

std::string DepmillCommandLine(const std::string& depmillCommand, const Project& project,
                               bool newProject, const std::string& defaultObjectFolder) {
    std::string command = depmillCommand;
    if (project.targetType == 1) command += " -l";
    if (newProject) {
        command += " -o " + project.targetName;
        if (!defaultObjectFolder.empty()) command += " -O " + defaultObjectFolder;
    }
    command += " -m";
    command += ModelLetter(project.memoryModel);
    if (project.database != 0) command += " -d";
    return command;
}

void CreateOutputFolder(const Project& project, bool debug, const OutputLineSink& output,
                        UiServices& ui) {
    const std::string outdir = GetMakefileMacro(project.projectFile, "OUTDIR", ui);
    // The makefile names the folder DOS-style ("obj\debug"); open it natively.
    const std::string folder = common::nativePath(
        common::pathInFolder(project.projectFolder, outdir), common::activeCodePage());
    if (folder.empty()) return;
    if (debug) output("Creating Folder: " + folder, LineKind::Ide);
    // Only the last level: a missing parent or an existing folder is no error.
    std::error_code ignored;
    std::filesystem::create_directory(folder, ignored);
}
