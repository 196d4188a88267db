// The operating system's child processes as the runner sees them: a child
// whose standard handles are pipes, read with a timeout, and a detached
// start. ide/platform implements it for each system; the core stays portable.
#pragma once

#include <cstddef>
#include <memory>
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

// One child with standard input from a pipe and standard output and standard
// error into one pipe. Destroying it closes every handle it still holds; a
// child that was started and not waited for is waited for then.
class CapturedChild {
  public:
    virtual ~CapturedChild() = default;

    // Starts commandLine in workingFolder (empty: the IDE's current folder).
    // iconed hides the child's console window where the system has one.
    // On failure everything made so far is closed again.
    virtual ChildStartFailure start(const std::string& commandLine,
                                    const std::string& workingFolder, bool iconed) = 0;

    // Waits at most timeoutMs for output and stores what is available, up to
    // capacity bytes.
    virtual ChildReadResult read(char* buffer, std::size_t capacity, int timeoutMs) = 0;

    // Writes to the child's standard input; false when the child no longer
    // reads it or the pipe is full. Never blocks, never raises a signal.
    virtual bool write(std::string_view bytes) = 0;

    // Closes the IDE's ends of both pipes: the child's standard input ends.
    virtual void closePipes() = 0;

    // Waits until the child has ended and returns its exit status; a child
    // ended by a signal gives 128 plus the signal number.
    virtual int wait() = 0;
};

// The factory the runner works through; the forms pass the system's one.
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
