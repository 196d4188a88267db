#include "session.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "dostext.h"
#include "hostfiles.h"
#include "outputrelay.h"
#include "process.h"

namespace dosrun {

namespace {

// A folder of the run's own, made with mkdtemp (mode 0700), removed with
// everything in it, links included but never followed.
class PrivateFolder {
  public:
    PrivateFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string base = tmp != nullptr && *tmp == '/' ? tmp : "/tmp";
        if (RefusalOfMountFolder(base)) base = "/tmp";
        std::string name = base + "/dosrun-XXXXXX";
        if (::mkdtemp(name.data()) != nullptr) path_ = name;
    }
    ~PrivateFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// dosrun's standard output; a reader that went away is ignored.
void writeOut(std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(1, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

// A listening socket at 127.0.0.1 on a port the kernel chose.
int listenOnLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 1) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

std::string randomMarker() {
    std::random_device random;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string marker = "DOSRUN-END-";
    for (int i = 0; i < 16; ++i) marker += kHex[random() % 16];
    return marker;
}

bool writeRunFiles(const RunPlan& plan) {
    const std::string folder = plan.privateFolder + "/";
    return WriteNewFile(folder + kSerialSetup, SerialSetupProgram()) &&
           WriteNewFile(folder + kRunBatch, RunBatch(plan)) &&
           WriteNewFile(folder + kProgramBatch, ProgramBatch(plan)) &&
           WriteNewFile(folder + kConfigurationFile, DosboxConfiguration(plan));
}

using Clock = std::chrono::steady_clock;

constexpr auto kConnectLimit = std::chrono::seconds(20);

// What is left until then, for poll: at least 1 ms until it has passed, 0 after.
int millisecondsUntil(Clock::time_point then) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(then - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

RunOutcome RunInDosbox(RunPlan plan, const std::string& dosbox, const std::string& programName) {
    SignalPipe signals;
    PrivateFolder folder;
    if (!signals.ok()) return {kStatusFailure, systemError("no signal pipe")};
    if (folder.path().empty()) return {kStatusFailure, systemError("no private folder in the temporary folder")};
    plan.privateFolder = folder.path();
    plan.privateDrive = FreeDriveLetter(plan.settings);
    plan.marker = randomMarker();
    Descriptor listener(listenOnLoopback(plan.port));
    if (listener.get() < 0) return {kStatusFailure, systemError("no socket at 127.0.0.1")};
    if (!writeRunFiles(plan)) return {kStatusFailure, systemError("the run's files could not be written")};

    // DOSBox gets a home of its own: the user's configuration and home are
    // neither read nor written.
    const std::string home = plan.privateFolder + "/home";
    ::mkdir(home.c_str(), 0700);
    const auto environment = EnvironmentWith(
        {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
         "XDG_RUNTIME_DIR", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER", "DISPLAY", "WAYLAND_DISPLAY"},
        {"HOME=" + home, "XDG_CONFIG_HOME=" + home, "XDG_DATA_HOME=" + home, "XDG_CACHE_HOME=" + home,
         "XDG_STATE_HOME=" + home, "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
    Child child;
    if (!child.start(dosbox, {"-conf", plan.privateFolder + "/" + kConfigurationFile}, environment,
                     plan.privateFolder + "/dosbox.log"))
        return {kStatusFailure, systemError("DOSBox could not be started")};

    const auto started = Clock::now();
    const auto deadline = started + std::chrono::seconds(plan.settings.timeoutSeconds);
    OutputRelay relay(plan.marker, "Illegal command: " + programName + ".");
    Descriptor connection;
    bool connected = false;
    while (!relay.ended()) {
        int timeout = -1;
        if (plan.settings.timeoutSeconds > 0) {
            timeout = millisecondsUntil(deadline);
            if (timeout == 0) {
                child.end();
                return {kStatusTimeout,
                        "the time limit of " + std::to_string(plan.settings.timeoutSeconds) + " s ran out"};
            }
        }
        if (!connected) {
            // DOSBox connects while it starts, before it runs any DOS command.
            const int wait = millisecondsUntil(started + kConnectLimit);
            if (wait == 0) {
                child.end();
                return {kStatusFailure, "DOSBox did not connect its serial port COM1 to dosrun"};
            }
            timeout = timeout < 0 ? wait : std::min(timeout, wait);
        }
        pollfd watched[2] = {{signals.fd(), POLLIN, 0},
                             {connection.get() >= 0 ? connection.get() : listener.get(), POLLIN, 0}};
        if (::poll(watched, 2, timeout) < 0 && errno != EINTR)
            return {kStatusFailure, systemError("poll")};
        if (const int signal = signals.drain()) {
            child.end();
            return {128 + signal, {}};
        }
        if (watched[1].revents != 0 && connection.get() < 0) {
            connection.reset(::accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
            connected = connection.get() >= 0;
            continue;
        }
        if (watched[1].revents != 0) {
            char bytes[4096];
            const ssize_t got = ::read(connection.get(), bytes, sizeof bytes);
            if (got > 0) {
                writeOut(relay.feed(std::string_view(bytes, static_cast<std::size_t>(got))));
                continue;
            }
            if (got < 0 && errno == EINTR) continue;
            connection.reset();  // DOSBox closed the port: it is ending
        }
        // What DOSBox sent before it ended is read up to the end of the
        // connection first.
        if (connection.get() < 0 && child.ended()) {
            writeOut(relay.finish());
            return {kStatusFailure, "DOSBox ended before the program did"};
        }
    }
    // The marker follows the status file's last write: DOSBox can go.
    child.end();
    if (relay.sawMissingProgram())
        return {kStatusNoProgram, "DOS found no program or command " + programName};
    const int status = ParseStatusText(
        ReadRegularFile(plan.privateFolder + "/" + kStatusFile, 64).value_or(std::string()));
    if (status < 0) return {kStatusFailure, "the program ended without an exit code"};
    return {status, {}};
}

}  // namespace dosrun
