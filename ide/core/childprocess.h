// The operating system's child processes as the runner sees them: a child
// whose standard handles are pipes, read with a timeout, watched for its end
// without blocking and stoppable with its whole process group, and a
// detached start. ide/platform implements it for each system; the core stays portable.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The setup steps of a captured start, in their order; each failure has a
// message of its own in the runner. A platform may never fail some of them.
enum class ChildStartFailure {
    None,          // the child runs
    OutputPipe,    // the pipe for standard output and error cannot be made
    InputPipe,     // the pipe for standard input cannot be made
    AttachInput,   // the input pipe cannot become the child's standard input
    AttachOutput,  // the output pipe cannot become the child's standard output
    AttachError,   // the output pipe cannot become the child's standard error
    PrepareInput,  // the IDE's own end of the input pipe cannot be made private
    Launch,        // no such program, empty command, bad folder, exec failure
};

enum class ChildReadStatus {
    Data,        // some bytes were read
    NothingYet,  // the timeout passed and the child wrote nothing
    End,         // every writer has closed the pipe (or reading failed)
};

struct ChildReadResult {
    ChildReadStatus status = ChildReadStatus::End;
    std::size_t count = 0;  // bytes stored, for Data only
};

// The signals of Stop, sent to the child's whole process group: first a
// request to end, then, for what is left of the group, the end.
enum class GroupSignal { Terminate, Kill };

// One child with standard input from a pipe and standard output and standard
// error into one pipe, in a process group of its own, so that Stop reaches
// every program it starts. Destroying it closes every handle it still holds
// and never blocks: a child that has not ended is left to run.
class CapturedChild {
  public:
    virtual ~CapturedChild() = default;

    // Starts commandLine in workingFolder (empty: the IDE's current folder).
    // iconed hides the child's console window where the system has one.
    // On failure everything made so far is closed again.
    virtual ChildStartFailure start(const std::string& commandLine,
                                    const std::string& workingFolder, bool iconed) = 0;

    // Waits at most timeoutMs for output or for the child's end, and stores
    // what is available, up to capacity bytes. Once the pipe has ended (every
    // writer closed it), a read still waits up to timeoutMs for the child's
    // end and reports End again.
    virtual ChildReadResult read(char* buffer, std::size_t capacity, int timeoutMs) = 0;

    // Writes to the child's standard input; false when the child no longer
    // reads it or the pipe is full. Never blocks, never raises a signal.
    virtual bool write(std::string_view bytes) = 0;

    // Closes the IDE's ends of both pipes: the child's standard input ends.
    virtual void closePipes() = 0;

    // The exit status once the child itself has ended, without waiting; a
    // child ended by a signal gives 128 plus the signal number (-1 when the
    // status cannot be known).
    virtual std::optional<int> exitStatus() = 0;

    // Sends the signal to every process of the child's group.
    virtual void signalGroup(GroupSignal signal) = 0;

    // True while any process of the child's group still runs (a process
    // that has ended and waits to be reaped does not count).
    virtual bool groupAlive() = 0;
};

// The factory the runner works through; the forms are given the system's one.
class ChildProcesses {
  public:
    virtual ~ChildProcesses() = default;

    virtual std::unique_ptr<CapturedChild> newCapturedChild() = 0;

    // Starts commandLine in workingFolder (empty: the current folder) without
    // pipes and without waiting; iconed starts it minimised where the system
    // can. True when the program was started.
    virtual bool startDetached(const std::string& commandLine, const std::string& workingFolder,
                               bool iconed) = 0;
};

// The system's child processes: posix_spawn and pipes here, CreateProcessA
// and anonymous pipes on Windows.
std::unique_ptr<ChildProcesses> CreateSystemChildProcesses();
