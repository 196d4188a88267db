// Runs a tool record as a child process: captured, with its output copied
// line by line into a line list and summed up in one result code, or
// detached, without waiting.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "childprocess.h"
#include "codepage.h"
#include "messageline.h"
#include "outputdecoding.h"
#include "outputline.h"
#include "runcounts.h"
#include "tool.h"
#include "uiservices.h"

// Result codes of RunCaptured besides a non-zero exit status of the child.
constexpr int kRunFailed = -1;    // not started; a message box was shown
constexpr int kRunWarning = -2;   // exit 0, a line contained ": warning" (SeverityByResultRule)
constexpr int kRunError = -3;     // exit 0, a line contained ": error"
constexpr int kRunSucceeded = 0;  // exit 0, neither kind of line

// The longest line handed on; a longer one is handed on in pieces of at most
// this many bytes (as the child wrote them, before decoding), never
// splitting a double-byte character of the IDE's code page.
constexpr std::size_t kMaxLineBytes = 4095;

// The prompt that is answered with one carriage return whenever the child
// falls silent with it in its unfinished line.
inline constexpr std::string_view kFileSpecPrompt = "Enter new file spec:";

// How a captured run ended: with the code above (a non-zero exit status of
// the child or one of the kRun values), or stopped by the user, which no
// exit status can be mistaken for.
struct RunResult {
    RunResult(bool stopped = false, int code = kRunSucceeded, RunCounts counts = {})
        : stopped(stopped), code(code), counts(counts) {}

    bool stopped;
    int code;          // meaningless when stopped
    RunCounts counts;  // the error and warning lines the child printed
    bool operator==(const RunResult&) const = default;
};

// How long one read waits for the child before the window gets its events
// and the unfinished line is checked for the prompt; short enough that the
// window never waits 50 ms for its next pass.
constexpr int kSilencePollMs = 20;

// While the child's output keeps coming, the window gets its events at
// least this often; lines that come slower are followed by a pass each.
constexpr std::chrono::milliseconds kEventPassInterval{5};

// Once the child has ended, a program it left running may keep the output
// pipe open: what is readable by then is taken for at most this long.
constexpr std::chrono::milliseconds kDrainAfterEnd{500};

// Stop asks the child's process group to end; what is still running this
// long after is killed, and the run is given up on (its child left to the
// system) once the longer time has passed.
constexpr std::chrono::milliseconds kStopGrace{2000};
constexpr std::chrono::milliseconds kStopGiveUp{3000};

// Set by the user (Stop, or closing the window) while a run is in progress;
// the runner then stops the child with its process group.
struct StopRequest {
    bool requested = false;
};

// What a run needs from around it.
struct RunServices {
    UiServices& ui;               // message boxes, busy cursor, event processing
    ChildProcesses& processes;    // the system's child processes
    common::CodePage codePage;    // of the lines, for the result rule and the reading
    StopRequest* stop = nullptr;  // none: the run cannot be stopped
    // How the child's lines are turned into codePage; without a conversion
    // they are taken as they come.
    OutputEncoding outputEncoding = OutputEncoding::Automatic;
    const TextConversion* convert = nullptr;
    // Reads each line once as it comes; none: the built-in forms.
    const MessageReader* reader = nullptr;
};

// Runs tool (Command, Arguments, Folder, Iconed) with captured output and
// appends every output line, decoded and read once, to lines (nothing is
// appended when it is null); the counts are those of the messages read.
// debugMode adds the IDE's lines "Command: ", "Folder: " and "Create Process
// OK, Start Pipe.". The code is the child's exit status when it is not 0,
// otherwise kRunError, kRunWarning or kRunSucceeded; kRunFailed after showing
// the message of the setup step that failed. Returns once the child has ended
// and what it wrote is drained (a program it left running may hold the pipe:
// it is not waited for), or, after a stop request, once the child's group has
// ended or the stop was given up on. The child never blocks the caller:
// window events are processed once the lines read are handed on and nothing
// more is readable at once, at least every kEventPassInterval while output
// keeps coming and every kSilencePollMs while the child is silent, so a
// nested call may run inside.
RunResult RunCaptured(const Tool& tool, OutputLines* lines, const RunServices& services,
                      bool debugMode);

// Starts tool without pipes and without waiting; true when it started.
bool RunDetached(const Tool& tool, ChildProcesses& processes);
