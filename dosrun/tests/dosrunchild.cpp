#include "dosrunchild.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

DosrunChild::DosrunChild(const std::vector<std::string>& arguments,
                         const std::filesystem::path& folder, const DosrunEnvironment& environment,
                         const DosrunStreams& streams) {
    int in[2];
    int out[2];
    int err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        return;
    std::vector<std::string> words{DOSRUN_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string home = environment.home.string();
    const std::string config = (environment.home / ".config").string();
    const std::string tmp = environment.tmp.string();
    const std::string folderName = folder.string();
    pid_ = ::fork();
    if (pid_ == 0) {
        ::setpgid(0, 0);
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(streams.errorOnOutput ? out[1] : err[1], 2);
        if (!streams.outputFile.empty()) {
            const int file = ::open(streams.outputFile.c_str(), O_WRONLY);
            if (file < 0 || ::dup2(file, 1) < 0) ::_exit(126);
        }
        if (::chdir(folderName.c_str()) != 0) ::_exit(126);
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        ::setenv("TMPDIR", tmp.c_str(), 1);
        if (!environment.path.empty()) ::setenv("PATH", environment.path.c_str(), 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    // Small inputs only: the pipe holds them whole.
    [[maybe_unused]] const auto written =
        ::write(in[1], streams.input.data(), streams.input.size());
    ::close(in[1]);
    outFd_ = out[0];
    errFd_ = err[0];
}

void DosrunChild::closeOutput() {
    if (outFd_ >= 0) ::close(outFd_);
    outFd_ = -1;
}

DosrunChild::~DosrunChild() {
    if (pid_ > 0) wait(std::chrono::milliseconds(0));
    if (outFd_ >= 0) ::close(outFd_);
    if (errFd_ >= 0) ::close(errFd_);
}

void DosrunChild::readAvailable(int timeoutMs) {
    pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
    if (::poll(fds, 2, timeoutMs) <= 0) return;
    char bytes[4096];
    for (int i = 0; i < 2; ++i) {
        if (fds[i].revents == 0) continue;
        const ssize_t got = ::read(fds[i].fd, bytes, sizeof bytes);
        if (got > 0) {
            (i == 0 ? out_ : err_).append(bytes, static_cast<std::size_t>(got));
        } else {
            ::close(fds[i].fd);
            (i == 0 ? outFd_ : errFd_) = -1;
        }
    }
}

bool DosrunChild::waitForOutput(const std::string& text, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (out_.find(text) == std::string::npos && err_.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline || (outFd_ < 0 && errFd_ < 0)) return false;
        readAvailable(20);
    }
    return true;
}

int DosrunChild::wait(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (true) {
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) break;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(-pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        if (outFd_ >= 0 || errFd_ >= 0) {
            readAvailable(10);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    pid_ = -1;
    while (outFd_ >= 0 || errFd_ >= 0) readAvailable(100);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void DosrunChild::signal(int number) const {
    ::kill(pid_, number);
}

void DosrunChild::signalGroup(int number) const {
    ::kill(-pid_, number);
}

DosrunResult RunDosrun(const std::vector<std::string>& arguments,
                       const std::filesystem::path& folder, const DosrunEnvironment& environment,
                       const DosrunStreams& streams) {
    DosrunChild child(arguments, folder, environment, streams);
    const int status = child.wait();
    return {status, child.out(), child.err()};
}

std::vector<pid_t> ProcessesMentioning(const std::string& text) {
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream file(entry.path() / "cmdline");
        const std::string cmdline((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
        if (cmdline.find(text) != std::string::npos) found.push_back(std::atoi(name.c_str()));
    }
    return found;
}

bool IsRunning(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // pid (name) state ...: the state follows the name's closing parenthesis.
    const auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z' &&
           stat[close + 2] != 'X';
}
