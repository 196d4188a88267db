// DOSBox as dosrun's child, and the signals that end dosrun: the child
// stays in dosrun's process group (a signal to the group reaches both),
// dies with dosrun on Linux even when dosrun is killed, and is ended and
// reaped before dosrun exits.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace dosrun {

// SIGTERM, SIGINT, SIGHUP and SIGCHLD reported through a pipe that poll
// watches; SIGPIPE ignored, so a closed standard output is an error of
// write, which ends the run before dosrun ends itself by SIGPIPE
// (EndBySignal). One per process.
class SignalPipe {
  public:
    SignalPipe();
    ~SignalPipe();
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    bool ok() const { return readEnd_ >= 0; }
    int fd() const { return readEnd_; }
    // The ending signal caught so far (SIGTERM, SIGINT, SIGHUP), else 0;
    // empties the pipe.
    int drain();

  private:
    int readEnd_ = -1;
};

// The program found on PATH the way execvp finds it; empty when none.
std::string FindOnPath(const std::string& program);

class Child {
  public:
    Child() = default;
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Starts the program with the environment given in full, standard input
    // from /dev/null, standard output and error into `logFile`. False
    // (errno set) when it could not be started.
    bool start(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment, const std::string& logFile);
    // True once it has ended (reaped without waiting).
    bool ended();
    // SIGKILL and reaped.
    void end();
    // How it ended, once ended() said so: "exit status 0", "signal 11
    // (Segmentation fault)".
    std::string howItEnded() const;

  private:
    pid_t pid_ = -1;
    int waitStatus_ = 0;
};

// Ends dosrun by the signal with its default action, as a command that the
// signal ended; SIGPIPE after a write to a closed pipe.
[[noreturn]] void EndBySignal(int signal);

// The environment of this process without the variables named, then the
// ones added ("NAME=VALUE").
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& removed,
                                         const std::vector<std::string>& added);

}  // namespace dosrun
