// A virtual X server (Xvfb) on a display number of its own with a real
// window manager (openbox) on it, for the tests of what only a window
// manager does to a window and for the benchmark of the output on screen.
// Both are children of the program, ended by their process ids when it
// ends (and told to end should it die first); what fails to start is said
// in reason().
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

class XSession {
  public:
    // Starts both; call before the application object exists.
    XSession(int width, int height) : folder_(makeFolder()) {
        if (folder_.empty()) {
            reason_ = "no temporary folder for the X session";
            return;
        }
        if (startServer(width, height) && startWindowManager()) ready_ = true;
    }
    ~XSession() {
        end(windowManager_);
        end(server_);
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ready() const { return ready_; }
    const std::string& reason() const { return reason_; }
    const std::string& display() const { return display_; }

  private:
    static constexpr auto kStartLimit = std::chrono::seconds(20);

    static std::string makeFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/xsession-XXXXXX";
        return mkdtemp(pattern.data()) ? pattern : std::string();
    }

    // The program with its output into the session's log and its settings
    // and cache in the session's folder; the child is sent SIGTERM should the
    // test program die before ending it.
    pid_t spawn(const std::vector<std::string>& args, int keepFd = -1) {
        const std::string log = folder_ + "/" + args[0] + ".log";
        const pid_t pid = fork();
        if (pid != 0) return pid;
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
        setenv("XDG_CACHE_HOME", folder_.c_str(), 1);
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
        }
        if (keepFd >= 0) fcntl(keepFd, F_SETFD, 0);
        std::vector<char*> argv;
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }

    // Xvfb picks a free display and writes its number once it takes clients.
    bool startServer(int width, int height) {
        int pipeFds[2];
        if (pipe2(pipeFds, O_CLOEXEC) != 0) {
            reason_ = "no pipe for Xvfb's display number";
            return false;
        }
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        server_ = spawn({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", screen,
                         "-nolisten", "tcp", "-noreset"},
                        pipeFds[1]);
        close(pipeFds[1]);
        std::string number;
        pollfd readable{pipeFds[0], POLLIN, 0};
        const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
        while (number.find('\n') == std::string::npos &&
               std::chrono::steady_clock::now() < deadline && poll(&readable, 1, 100) >= 0) {
            char buffer[16];
            if (!(readable.revents & (POLLIN | POLLHUP))) continue;
            const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
            if (n <= 0) break;
            number.append(buffer, static_cast<std::size_t>(n));
        }
        close(pipeFds[0]);
        if (number.find('\n') == std::string::npos) {
            reason_ = "Xvfb did not start (is the package xvfb installed?)";
            return false;
        }
        display_ = ":" + number.substr(0, number.find('\n'));
        return true;
    }

    // openbox runs its start-up command once it manages the screen.
    bool startWindowManager() {
        const std::string marker = folder_ + "/openbox-ready";
        setenv("DISPLAY", display_.c_str(), 1);
        windowManager_ = spawn({"openbox", "--sm-disable", "--startup", "touch '" + marker + "'"});
        const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
        struct stat info {};
        while (stat(marker.c_str(), &info) != 0) {
            const bool ended = waitpid(windowManager_, nullptr, WNOHANG) == windowManager_;
            if (ended) windowManager_ = -1;
            if (ended || std::chrono::steady_clock::now() >= deadline) {
                reason_ = "openbox did not start on Xvfb (is the package openbox installed?)";
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    static void end(pid_t& pid) {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        for (int i = 0; i < 250 && waitpid(pid, nullptr, WNOHANG) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (waitpid(pid, nullptr, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        pid = -1;
    }

    std::string folder_;
    pid_t server_ = -1;
    pid_t windowManager_ = -1;
    std::string display_;
    std::string reason_;
    bool ready_ = false;
};
