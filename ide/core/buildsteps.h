// The window-free rules of the Build, Rebuild and Check-dependencies
// commands: the run request of a step, its summary line and sound, the
// generator's command line and the object folder created before a build.
#pragma once

#include <functional>
#include <string>

#include "outputline.h"
#include "project.h"
#include "runner.h"
#include "soundplayer.h"
#include "tool.h"
#include "uiservices.h"

// Appends one line the IDE writes itself to the output window, as the kind
// given (Ide, or Summary for a step's summary line).
using OutputLineSink = std::function<void(const std::string& line, LineKind kind)>;

inline constexpr const char* kNoProjectMessage = "プロジェクトの指定がありません。";
// The lines that end a stopped generator run (before "End Depmill.") and a
// stopped tool.
inline constexpr const char* kDepmillStoppedLine = "Depmill Stopped.";
inline constexpr const char* kToolStoppedLine = "Tool Stopped.";
// Written after a build in debug mode, to try the editor and help jumps.
inline constexpr const char* kJumpTestLine =
    "jumptest.c(20) : warning C4001: This is editor/error jump test message.";

// The run request of a build step: captured, console hidden, in the project
// folder, no arguments. The generator's step has an empty name.
Tool BuildStepRequest(const std::string& command, const std::string& name,
                      const std::string& projectFolder);

struct BuildStepSummary {
    std::string line;   // e.g. "End Build.", "Build Error (2)."
    std::string sound;  // event name, empty for none
};

// The summary of a named step from the runner's result: 0 success, -2
// warning line seen, -3 error line seen, -1 could not start, any other value
// the child's exit status; a stopped run ends with name + " Stopped." and
// the error sound.
BuildStepSummary SummarizeBuildStep(const std::string& name, const RunResult& result);

// Writes the summary line of a named step (as Summary) and plays its sound (no waiting,
// the system's default as fallback). A step with an empty name writes and
// plays nothing.
void FinishBuildStep(const std::string& name, const RunResult& result, const OutputLineSink& output,
                     SoundPlayer& sounds);

// The generator's command line: depmillCommand, then " -l" for a library,
// for a new project " -o " target and (when set) " -O " object folder,
// " -m" and the model letter, " -d" for a database application.
std::string DepmillCommandLine(const std::string& depmillCommand, const Project& project,
                               bool newProject, const std::string& defaultObjectFolder);

// Creates the last level of the project's OUTDIR folder before a build: the
// value's path from the project folder (common::pathInFolder; none for an
// empty value or ".").
// In debug mode writes "Creating Folder: " and the path first. An existing
// folder, a missing parent or any other failure is silently ignored.
void CreateOutputFolder(const Project& project, bool debug, const OutputLineSink& output,
                        UiServices& ui);
