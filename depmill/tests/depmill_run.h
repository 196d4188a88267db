// Runs the real depmill binary for the behaviour tests: a temporary project
// folder per test, small file helpers, and a run that captures standard
// output, standard error and the exit status separately.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <linux/capability.h>
#include <sys/prctl.h>
#endif

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "tempfolder.h"
#include "written.h"

#ifndef _WIN32
extern char** environ;  // declared by <stdlib.h> on Windows
#endif

namespace depmill_test {

namespace fs = std::filesystem;

struct RunResult {
    std::string out;
    std::string err;
    int status = -1;  // -1 when the program did not end by exiting
    std::time_t started = 0;
    std::time_t ended = 0;
};

struct RunSettings {
    std::vector<std::string> args = {};
    std::optional<std::string> depmillopt = {};       // DEPMILLOPT is removed when not given
    std::vector<std::string> env = {};                // "NAME=value", replacing NAME if set
    std::optional<std::uint64_t> fileSizeLimit = {};  // bytes any one file may hold (POSIX only)
    std::optional<std::uint64_t> memoryLimit = {};    // bytes of address space (POSIX only)
    // Root's right to read any file dropped, so a file without read
    // permission is unreadable to the run as it is to a user (Linux only);
    // where that cannot be done for root, the run ends with kNoDroppedRights.
    bool withoutReadOverride = false;
};

constexpr int kNoDroppedRights = 126;

// A run that takes longer has hung: it is killed and its status is -1.
constexpr int kRunTimeoutMs = 20000;

// Joins the lines, each followed by "\n".
inline std::string lines(std::initializer_list<std::string_view> list) {
    std::string text;
    for (std::string_view line : list) {
        text.append(line);
        text.push_back('\n');
    }
    return text;
}

// The first line of a makefile written at the local time t.
inline std::string headerAt(std::time_t t) {
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    return "# make makefile at: " + std::to_string(tm.tm_year) + "/" +
           std::to_string(tm.tm_mon + 1) + "/" + std::to_string(tm.tm_mday) + " " +
           std::to_string(tm.tm_hour) + ":" + std::to_string(tm.tm_min) + "\n";
}

// The text from the first line equal to `first` up to and including the next
// empty line (or the end): one rule, or one block of macros.
inline std::string blockFrom(const std::string& text, const std::string& first) {
    std::size_t start = text.rfind(first + "\n", 0) == 0 ? 0 : text.find("\n" + first + "\n");
    if (start == std::string::npos) return "<no line \"" + first + "\">";
    if (start != 0) ++start;
    std::size_t end = text.find("\n\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end + 2 - start);
}

// A project folder "proj" inside a fresh temporary folder; relative paths of
// the helpers start in "proj", so "../header/defs.h" lies beside it.
class Sandbox {
  public:
    Sandbox() { fs::create_directory(project()); }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    fs::path project() const { return root_ / "proj"; }
    fs::path path(const std::string& rel) const { return project() / AnsiPath(rel); }

    void write(const std::string& rel, const std::string& text) const {
        fs::create_directories(path(rel).parent_path());
        std::ofstream file(path(rel), std::ios::binary | std::ios::trunc);
        file << text;
        if (!file) throw std::runtime_error("cannot write " + rel);
    }

    // The whole file, or "<missing>" when it cannot be read.
    std::string read(const std::string& rel) const {
        std::ifstream file(path(rel), std::ios::binary);
        if (!file) return "<missing>";
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // A file depmill may have written, its line ends read back as "\n".
    std::string text(const std::string& rel) const {
        return depmill_testing::withNewlines(read(rel));
    }
    std::string makefile() const { return text("makefile"); }

    bool exists(const std::string& rel) const { return fs::exists(fs::symlink_status(path(rel))); }

    RunResult run(std::vector<std::string> args = {},
                  std::optional<std::string> depmillopt = std::nullopt) const {
        return run(RunSettings{.args = std::move(args), .depmillopt = std::move(depmillopt)});
    }

    RunResult run(const RunSettings& settings) const;

  private:
    TempFolder folder_{"depmill-test-"};
    const fs::path& root_ = folder_.path();
};

namespace detail {

inline std::vector<std::string> childEnvironment(const RunSettings& settings) {
    std::vector<std::string> env;
    auto replaced = [&](std::string_view entry) {
        std::string_view name = entry.substr(0, entry.find('='));
        if (name == "DEPMILLOPT") return true;
        for (const std::string& extra : settings.env)
            if (std::string_view(extra).substr(0, extra.find('=')) == name) return true;
        return false;
    };
    for (char** e = environ; *e; ++e)
        if (!replaced(*e)) env.emplace_back(*e);
    if (settings.depmillopt) env.push_back("DEPMILLOPT=" + *settings.depmillopt);
    env.insert(env.end(), settings.env.begin(), settings.env.end());
    return env;
}

#ifdef _WIN32
// One argument as the C runtime of the child splits it again: quoted when
// it holds a blank or a quote, backslashes doubled only before a quote.
inline std::string quotedArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

// A file the child inherits as a standard handle.
inline HANDLE inheritableFile(const fs::path& path, bool write) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE file = CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              write ? CREATE_ALWAYS : OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path.string());
    return file;
}

// The child's standard streams are text streams on Windows: read as text,
// its "\r\n" line ends become "\n" as they were written.
inline std::string readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
    return lines;
}
#else
inline std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& text : texts) result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

// Reads both pipes until both are closed, so neither can fill up and stall
// the child; kills the child when it is still running after the timeout.
inline void drain(int outFd, int errFd, std::string& out, std::string& err, pid_t child) {
    std::array<pollfd, 2> fds{pollfd{outFd, POLLIN, 0}, pollfd{errFd, POLLIN, 0}};
    std::array<std::string*, 2> sinks{&out, &err};
    int open = 2;
    char buffer[4096];
    int timeout = kRunTimeoutMs;
    while (open > 0) {
        const int ready = poll(fds.data(), fds.size(), timeout);
        if (ready == 0) {
            kill(child, SIGKILL);
            timeout = -1;
            continue;
        }
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

#endif

}  // namespace detail

#ifdef _WIN32
// Standard output and error go into files beside the project folder, so
// neither can fill up and stall the child.
inline RunResult Sandbox::run(const RunSettings& settings) const {
    if (settings.fileSizeLimit || settings.memoryLimit || settings.withoutReadOverride)
        throw std::logic_error("resource limits and dropped rights are POSIX only");
    std::string commandLine = detail::quotedArgument(DEPMILL_PATH);
    for (const std::string& arg : settings.args) commandLine += " " + detail::quotedArgument(arg);
    std::string block;
    for (const std::string& entry : detail::childEnvironment(settings)) {
        block += entry;
        block.push_back('\0');
    }
    block.push_back('\0');

    HANDLE in = detail::inheritableFile("NUL", false);
    HANDLE out = detail::inheritableFile(root_ / "stdout.txt", true);
    HANDLE err = detail::inheritableFile(root_ / "stderr.txt", true);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION child{};
    RunResult result;
    result.started = std::time(nullptr);
    const std::string folder = project().string();
    const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        block.data(), folder.c_str(), &startup, &child);
    CloseHandle(in);
    CloseHandle(out);
    CloseHandle(err);
    if (!started) throw std::runtime_error("cannot start " + commandLine);
    bool hung = false;
    if (WaitForSingleObject(child.hProcess, kRunTimeoutMs) == WAIT_TIMEOUT) {
        hung = true;
        TerminateProcess(child.hProcess, 1);
        WaitForSingleObject(child.hProcess, INFINITE);
    }
    DWORD code = 0;
    const bool known = !hung && GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    result.ended = std::time(nullptr);
    result.status = known ? static_cast<int>(code) : -1;
    result.out = detail::readText(root_ / "stdout.txt");
    result.err = detail::readText(root_ / "stderr.txt");
    return result;
}
#else
inline RunResult Sandbox::run(const RunSettings& settings) const {
    std::vector<std::string> argTexts{DEPMILL_PATH};
    argTexts.insert(argTexts.end(), settings.args.begin(), settings.args.end());
    std::vector<std::string> envTexts = detail::childEnvironment(settings);
    std::vector<char*> argv = detail::pointers(argTexts);
    std::vector<char*> envp = detail::pointers(envTexts);
    std::string dir = project().string();

    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");

    RunResult result;
    result.started = std::time(nullptr);
    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        int null = open("/dev/null", O_RDONLY);
        if (null < 0 || dup2(null, 0) < 0 || dup2(outPipe[1], 1) < 0 || dup2(errPipe[1], 2) < 0 ||
            chdir(dir.c_str()) != 0)
            _exit(127);
        // The program itself must turn a write past the file-size limit
        // into a failed write: the signal has its default action here.
        signal(SIGXFSZ, SIG_DFL);
        if (settings.fileSizeLimit) {
            rlimit limit{*settings.fileSizeLimit, *settings.fileSizeLimit};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
        }
        if (settings.memoryLimit) {
            rlimit limit{*settings.memoryLimit, *settings.memoryLimit};
            if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(127);
        }
        // Out of the bounding set, the rights are not given back at exec.
        if (settings.withoutReadOverride && geteuid() == 0) {
#ifdef __linux__
            if (prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE) != 0 ||
                prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH) != 0)
#endif
                _exit(kNoDroppedRights);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    detail::drain(outPipe[0], errPipe[0], result.out, result.err, pid);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.ended = std::time(nullptr);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}
#endif

// The names in the project folder.
inline std::set<std::string> entriesOf(const Sandbox& sb) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(sb.project()))
        names.insert(AnsiName(entry.path().filename()));
    return names;
}

// The makefile's first line is "# make makefile at: " with the local time of
// the run, every number without leading zeros.
inline bool headerFitsRun(const std::string& makefile, const RunResult& run) {
    std::string first = makefile.substr(0, makefile.find('\n') + 1);
    static const std::regex pattern(
        "# make makefile at: (0|[1-9][0-9]*)/([1-9]|1[0-2])/([1-9]|[12][0-9]|3[01]) "
        "([0-9]|1[0-9]|2[0-3]):([0-9]|[1-5][0-9])\n");
    return std::regex_match(first, pattern) &&
           (first == headerAt(run.started) || first == headerAt(run.ended));
}

// Everything after the first line.
inline std::string bodyOf(const std::string& makefile) {
    std::size_t end = makefile.find('\n');
    return end == std::string::npos ? std::string() : makefile.substr(end + 1);
}

// A run without a word on either stream that wrote exactly this makefile,
// apart from its first line, which must carry the time of the run; in a
// real folder (Sandbox) or one in memory (MemoryProject).
template <class Project>
void expectMakefile(const Project& sandbox, const RunResult& run, const std::string& body) {
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    std::string makefile = sandbox.makefile();
    EXPECT_TRUE(headerFitsRun(makefile, run)) << makefile.substr(0, makefile.find('\n'));
    EXPECT_EQ(bodyOf(makefile), body);
}

#ifndef _WIN32
// Runs the real make with the arguments in the project folder, the folder
// `pathFirst` (if any) first on PATH, its output discarded; its exit
// status, -1 when it could not be run.
inline int runMake(const Sandbox& sb, const std::string& args, const std::string& pathFirst = "") {
    const std::string path = pathFirst.empty() ? "" : "PATH='" + pathFirst + "':\"$PATH\" ";
    const std::string command =
        "cd '" + sb.project().string() + "' && " + path + "make " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

}  // namespace depmill_test
