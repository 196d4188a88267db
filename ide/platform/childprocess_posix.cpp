// The runner's child processes on POSIX systems, every one started by
// posix_spawn, which copies nothing of the IDE's memory: a captured child
// with pipes in a process group of its own, watched through a pidfd where
// the system has one; a detached one in a session of its own, reaped by a
// thread that waits for it alone, so that no zombie stays.
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include "childprocess.h"
#include "commandline_posix.h"
#include "dospath.h"

extern char** environ;

namespace {

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// A pipe whose ends both close on exec; the child gets its ends through the
// spawn's dup2, which clears that flag on the copies. Ends that would land
// on 0, 1 or 2 (the IDE started with them closed) are moved above them, so
// the dup2 of one standard handle never overwrites another.
bool MakePipe(int ends[2]) {
    if (::pipe2(ends, O_CLOEXEC) != 0) return false;
    for (int i = 0; i < 2; ++i) {
        if (ends[i] > STDERR_FILENO) continue;
        const int moved = ::fcntl(ends[i], F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        ::close(ends[i]);
        ends[i] = moved;
    }
    if (ends[0] >= 0 && ends[1] >= 0) return true;
    CloseFd(ends[0]);
    CloseFd(ends[1]);
    return false;
}

// Room for a child to write ahead of the reader while the window draws: a
// megabyte, the most an unprivileged process may ask by default. Where the
// system gives less, the pipe keeps the size it has.
void WidenOutputPipe(int fd) {
#ifdef F_SETPIPE_SZ
    constexpr int kOutputPipeBytes = 1 << 20;
    ::fcntl(fd, F_SETPIPE_SZ, kOutputPipeBytes);
#else
    (void)fd;
#endif
}

std::vector<char*> ArgvOf(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return argv;
}

int ExitStatusOf(int waitStatus) {
    if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus)) return 128 + WTERMSIG(waitStatus);
    return -1;
}

pid_t WaitFor(pid_t pid, int& waitStatus) {
    pid_t got;
    do {
        got = ::waitpid(pid, &waitStatus, 0);
    } while (got < 0 && errno == EINTR);
    return got;
}

// A descriptor that becomes readable when the process ends; -1 where the
// system has none (the runner then notices the end at its next look).
int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

// True while a process of the group runs. A process that has ended but was
// not reaped yet still counts for kill(); where /proc tells the states, such
// processes are left out, since an orphan may wait long for its reaper.
bool GroupRuns(pid_t group) {
    if (::kill(-group, 0) != 0 && errno == ESRCH) return false;
#ifdef __linux__
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return true;
    bool running = false;
    while (const dirent* entry = ::readdir(proc)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
        char path[sizeof "/proc//stat" + sizeof entry->d_name];
        std::snprintf(path, sizeof path, "/proc/%s/stat", entry->d_name);
        FILE* file = std::fopen(path, "re");
        if (file == nullptr) continue;
        char line[512];
        const bool got = std::fgets(line, sizeof line, file) != nullptr;
        std::fclose(file);
        // "pid (name) state ppid pgrp ...", where the name may hold anything.
        const char* close = got ? std::strrchr(line, ')') : nullptr;
        char state = 0;
        long parent = 0;
        long processGroup = 0;
        if (close != nullptr &&
            std::sscanf(close + 1, " %c %ld %ld", &state, &parent, &processGroup) == 3 &&
            processGroup == group && state != 'Z' && state != 'X') {
            running = true;
            break;
        }
    }
    ::closedir(proc);
    return running;
#else
    return true;
#endif
}

// Owns the spawn's file actions and attributes for the length of a start.
class SpawnSetup {
  public:
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // What the started program leads: a process group of its own, which
    // every program it starts joins unless it leaves, or a session of its
    // own, out of reach of the IDE's group and terminal.
    enum class Leader { Group, Session };

    // Starts commandLine in workingFolder (empty: the current folder) with
    // the file actions added so far; nullopt when it cannot be started.
    std::optional<pid_t> spawn(const std::string& commandLine, const std::string& workingFolder,
                               Leader leader) {
        const common::CodePage cp = common::activeCodePage();
        std::optional<ResolvedCommand> command = ResolveCommandLine(commandLine, cp);
        if (!command || !prepareAttributes(leader)) return std::nullopt;
        const std::string folder = common::nativePath(workingFolder, cp);
        if (!folder.empty() &&
            posix_spawn_file_actions_addchdir_np(&actions, folder.c_str()) != 0) {
            return std::nullopt;
        }
        std::vector<char*> argv = ArgvOf(command->argv);
        pid_t pid = -1;
        if (posix_spawn(&pid, command->program.c_str(), &actions, &attributes, argv.data(),
                        environ) != 0) {
            return std::nullopt;
        }
        return pid;
    }

  private:
    // The program starts with no blocked signals and SIGPIPE at its default,
    // whatever the IDE has done with them.
    bool prepareAttributes(Leader leader) {
        sigset_t none;
        sigset_t pipe;
        sigemptyset(&none);
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        const short lead = leader == Leader::Group ? POSIX_SPAWN_SETPGROUP : POSIX_SPAWN_SETSID;
        return posix_spawnattr_setsigmask(&attributes, &none) == 0 &&
               posix_spawnattr_setsigdefault(&attributes, &pipe) == 0 &&
               posix_spawnattr_setpgroup(&attributes, 0) == 0 &&
               posix_spawnattr_setflags(&attributes,
                                        POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | lead) == 0;
    }
};

class PosixCapturedChild : public CapturedChild {
  public:
    ~PosixCapturedChild() override {
        closePipes();
        if (pid_ > 0) exitStatus();
        CloseFd(pidFd_);
    }

    ChildStartFailure start(const std::string& commandLine, const std::string& workingFolder,
                            bool /*iconed: there is no console window here*/) override {
        const ChildStartFailure failure = spawn(commandLine, workingFolder);
        if (failure != ChildStartFailure::None) closePipes();
        return failure;
    }

    ChildReadResult read(char* buffer, std::size_t capacity, int timeoutMs) override {
        if (outRead_ < 0 && (pid_ <= 0 || status_)) return {};
        // The pipe, and the child's end while it runs; with neither, a sleep.
        pollfd watch[2];
        nfds_t watched = 0;
        if (outRead_ >= 0) watch[watched++] = {outRead_, POLLIN, 0};
        if (pidFd_ >= 0) watch[watched++] = {pidFd_, POLLIN, 0};
        const int ready = ::poll(watch, watched, timeoutMs);
        if (ready < 0 && errno != EINTR) return {};
        if (outRead_ < 0) return {};
        if (ready <= 0 || watch[0].revents == 0) return {ChildReadStatus::NothingYet, 0};
        const ssize_t got = ::read(outRead_, buffer, capacity);
        if (got > 0) return {ChildReadStatus::Data, static_cast<std::size_t>(got)};
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) return {ChildReadStatus::NothingYet, 0};
        CloseFd(outRead_);
        return {};
    }

    bool write(std::string_view bytes) override {
        if (inWrite_ < 0) return false;
        // A child that has closed its input must not kill the IDE with
        // SIGPIPE: block it for this thread and take back one raised here.
        sigset_t pipe;
        sigset_t previous;
        sigset_t pending;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, &previous);
        sigpending(&pending);
        const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;
        ssize_t written;
        do {
            written = ::write(inWrite_, bytes.data(), bytes.size());
        } while (written < 0 && errno == EINTR);
        if (written < 0 && errno == EPIPE && !alreadyPending) {
            const timespec noWait{0, 0};
            sigtimedwait(&pipe, nullptr, &noWait);
        }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return written == static_cast<ssize_t>(bytes.size());
    }

    void closePipes() override {
        CloseFd(outRead_);
        CloseFd(inWrite_);
    }

    std::optional<int> exitStatus() override {
        if (status_ || pid_ <= 0) return status_;
        int waitStatus = 0;
        pid_t got;
        do {
            got = ::waitpid(pid_, &waitStatus, WNOHANG);
        } while (got < 0 && errno == EINTR);
        if (got == 0) return std::nullopt;
        status_ = got < 0 ? -1 : ExitStatusOf(waitStatus);
        CloseFd(pidFd_);  // it would stay readable and wake every read at once
        return status_;
    }

    // The group keeps the child's process id as its number; the group lives
    // on after the child as long as any of its members does.
    void signalGroup(GroupSignal signal) override {
        if (pid_ > 0) ::kill(-pid_, signal == GroupSignal::Kill ? SIGKILL : SIGTERM);
    }

    bool groupAlive() override { return pid_ > 0 && GroupRuns(pid_); }

  private:
    ChildStartFailure spawn(const std::string& commandLine, const std::string& workingFolder) {
        int out[2];
        int in[2];
        if (!MakePipe(out)) return ChildStartFailure::OutputPipe;
        outRead_ = out[0];
        WidenOutputPipe(outRead_);
        int childOut = out[1];
        if (!MakePipe(in)) {
            CloseFd(childOut);
            return ChildStartFailure::InputPipe;
        }
        inWrite_ = in[1];
        int childIn = in[0];
        const ChildStartFailure failure = launch(commandLine, workingFolder, childIn, childOut);
        CloseFd(childIn);
        CloseFd(childOut);
        return failure;
    }

    ChildStartFailure launch(const std::string& commandLine, const std::string& workingFolder,
                             int childIn, int childOut) {
        SpawnSetup setup;
        if (posix_spawn_file_actions_adddup2(&setup.actions, childIn, STDIN_FILENO) != 0) {
            return ChildStartFailure::AttachInput;
        }
        if (posix_spawn_file_actions_adddup2(&setup.actions, childOut, STDOUT_FILENO) != 0) {
            return ChildStartFailure::AttachOutput;
        }
        if (posix_spawn_file_actions_adddup2(&setup.actions, childOut, STDERR_FILENO) != 0) {
            return ChildStartFailure::AttachError;
        }
        // The IDE's end of the input pipe must never block it.
        if (::fcntl(inWrite_, F_SETFL, O_NONBLOCK) != 0) return ChildStartFailure::PrepareInput;

        const std::optional<pid_t> pid =
            setup.spawn(commandLine, workingFolder, SpawnSetup::Leader::Group);
        if (!pid) return ChildStartFailure::Launch;
        pid_ = *pid;
        pidFd_ = OpenPidFd(*pid);
        return ChildStartFailure::None;
    }

    int outRead_ = -1;  // the IDE reads the child's output here
    int inWrite_ = -1;  // the IDE writes the child's input here
    pid_t pid_ = -1;    // also the number of the child's process group
    int pidFd_ = -1;    // readable once the child has ended, until it is reaped
    std::optional<int> status_;
};

// Reaps a detached program once it has ended. Without a thread it stays a
// zombie until the IDE ends.
void ReapWhenEnded(pid_t pid) {
    try {
        std::thread([pid] {
            int waitStatus = 0;
            WaitFor(pid, waitStatus);
        }).detach();
    } catch (const std::system_error&) {
    }
}

class PosixChildProcesses : public ChildProcesses {
  public:
    std::unique_ptr<CapturedChild> newCapturedChild() override {
        return std::make_unique<PosixCapturedChild>();
    }

    // The program shares the IDE's standard handles; posix_spawn reports a
    // program that cannot be executed, or a folder it cannot enter, itself.
    bool startDetached(const std::string& commandLine, const std::string& workingFolder,
                       bool /*iconed: there is no console window here*/) override {
        SpawnSetup setup;
        const std::optional<pid_t> pid =
            setup.spawn(commandLine, workingFolder, SpawnSetup::Leader::Session);
        if (!pid) return false;
        ReapWhenEnded(*pid);
        return true;
    }
};

}  // namespace

std::unique_ptr<ChildProcesses> CreateSystemChildProcesses() {
    return std::make_unique<PosixChildProcesses>();
}
