#include "process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace dosrun {

namespace {

int g_signalWriteEnd = -1;
volatile sig_atomic_t g_endingSignal = 0;

void onSignal(int signal) {
    if (signal != SIGCHLD && g_endingSignal == 0) g_endingSignal = signal;
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalWriteEnd, &byte, 1);
    errno = saved;
}

constexpr int kCaught[] = {SIGTERM, SIGINT, SIGHUP, SIGCHLD};

}  // namespace

SignalPipe::SignalPipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
    readEnd_ = ends[0];
    g_signalWriteEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kCaught) ::sigaction(signal, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}

SignalPipe::~SignalPipe() {
    for (const int signal : kCaught) ::signal(signal, SIG_DFL);
    if (readEnd_ >= 0) ::close(readEnd_);
    if (g_signalWriteEnd >= 0) ::close(g_signalWriteEnd);
    g_signalWriteEnd = -1;
}

int SignalPipe::drain() {
    char bytes[64];
    while (::read(readEnd_, bytes, sizeof bytes) > 0) {
    }
    return g_endingSignal;
}

std::string FindOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end == start ? "." : folders.substr(start, end - start);
        const std::string candidate = folder + "/" + program;
        struct stat st {};
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& removed,
                                         const std::vector<std::string>& added) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view variable(*entry);
        const std::string_view name = variable.substr(0, variable.find('='));
        if (std::find(removed.begin(), removed.end(), name) == removed.end())
            environment.emplace_back(variable);
    }
    environment.insert(environment.end(), added.begin(), added.end());
    return environment;
}

Child::~Child() {
    end();
}

bool Child::start(const std::string& program, const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment, const std::string& logFile) {
    // Everything the child needs is made before the fork: after it, only
    // calls that are safe in a child of a process with signal handlers.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& variable : environment) envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);
    const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int log =
        ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (input < 0 || log < 0) {
        const int saved = errno;
        if (input >= 0) ::close(input);
        if (log >= 0) ::close(log);
        errno = saved;
        return false;
    }
    const pid_t parent = ::getpid();
    pid_t pid = ::fork();
    if (pid == 0) {
#ifdef __linux__
        // Killed along with dosrun, also when nothing of dosrun could run.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127);
#endif
        for (const int signal : kCaught) ::signal(signal, SIG_DFL);
        ::signal(SIGPIPE, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::dup2(input, 0);
        ::dup2(log, 1);
        ::dup2(log, 2);
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    const int saved = errno;
    ::close(input);
    ::close(log);
    errno = saved;
    if (pid < 0) return false;
    pid_ = pid;
    return true;
}

bool Child::ended() {
    if (pid_ < 0) return true;
    const pid_t done = ::waitpid(pid_, &waitStatus_, WNOHANG);
    if (done == pid_ || (done < 0 && errno == ECHILD)) pid_ = -1;
    return pid_ < 0;
}

std::string Child::howItEnded() const {
    if (WIFSIGNALED(waitStatus_)) {
        const int signal = WTERMSIG(waitStatus_);
        return "signal " + std::to_string(signal) + " (" + ::strsignal(signal) + ")";
    }
    return "exit status " + std::to_string(WEXITSTATUS(waitStatus_));
}

void EndBySignal(int signal) {
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

void Child::end() {
    if (pid_ < 0) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

}  // namespace dosrun
