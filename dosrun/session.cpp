#include "session.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <utility>

#include "hostfiles.h"
#include "outputrelay.h"
#include "privatefolder.h"
#include "process.h"

namespace dosrun {

namespace {

using Clock = std::chrono::steady_clock;

// DOSBox connects its ports while it starts, before it runs any DOS command.
constexpr auto kConnectLimit = std::chrono::seconds(20);
constexpr std::size_t kInputLimit = 16 << 20;
constexpr std::size_t kLogLines = 5;
constexpr std::size_t kLogWidth = 200;

// A listening socket at 127.0.0.1 on a port the kernel chose.
int listenOnLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 1) != 0 ||
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

bool writeRunFiles(const RunPlan& plan, std::string_view input) {
    const std::string folder = plan.privateFolder + "/";
    return WriteNewFile(folder + kLauncher, LauncherProgram()) &&
           WriteNewFile(folder + kRunBatch, RunBatch(plan)) &&
           WriteNewFile(folder + kInputFile, input) &&
           WriteNewFile(folder + kJobFile, JobText(plan)) &&
           (!plan.programFile.empty() ||
            WriteNewFile(folder + kProgramBatch, ProgramBatch(plan))) &&
           WriteNewFile(folder + kConfigurationFile, DosboxConfiguration(plan));
}

// What is left until then, for poll: at least 1 ms until it has passed, 0 after.
int millisecondsUntil(Clock::time_point then) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(then - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

std::string dosErrorText(int code) {
    switch (code) {
        case 4:
            return "too many open files (DOS error 4)";
        case 5:
            return "access denied (DOS error 5)";
        case 8:
            return "not enough memory (DOS error 8)";
        case 10:
            return "the environment is bad (DOS error 10)";
        case 11:
            return "it is no program DOS can load (DOS error 11)";
    }
    return "DOS error " + std::to_string(code);
}

// One serial port on its way to dosrun: the socket DOSBox connects to, the
// connection it makes, and the relay of its lines to one of dosrun's own
// outputs.
struct Channel {
    Channel(int target, const std::string& marker, std::string missingProgramLine)
        : target(target), relay(marker, std::move(missingProgramLine)) {}
    int target;  // 1, standard output, or 2, standard error
    Descriptor listener;
    Descriptor connection;
    bool connected = false;
    OutputRelay relay;
};

class Session {
  public:
    Session(const RunPlan& plan, Child& dosbox, SignalPipe& signals, Channel& output,
            Channel& error)
        : plan_(plan), dosbox_(dosbox), signals_(signals), channels_{&output, &error} {}

    // Relays both ports until both markers have come, or until the run ends
    // otherwise, with the outcome of that end.
    std::optional<RunOutcome> relayUntilMarkers() {
        const auto started = Clock::now();
        const auto deadline = started + std::chrono::seconds(plan_.settings.timeoutSeconds);
        while (!channels_[0]->relay.ended() || !channels_[1]->relay.ended()) {
            if (writeError_ != 0) return stop(writeFailure());
            int timeout = -1;
            if (plan_.settings.timeoutSeconds > 0) {
                timeout = millisecondsUntil(deadline);
                if (timeout == 0)
                    return stop({kStatusTimeout, "the time limit of " +
                                                     std::to_string(plan_.settings.timeoutSeconds) +
                                                     " s ran out"});
            }
            if (!channels_[0]->connected || !channels_[1]->connected) {
                const int wait = millisecondsUntil(started + kConnectLimit);
                if (wait == 0)
                    return stop(withLog(
                        {kStatusFailure, "DOSBox did not connect its serial ports to dosrun"}));
                timeout = timeout < 0 ? wait : std::min(timeout, wait);
            }
            pollfd watched[3] = {
                {signals_.fd(), POLLIN, 0}, watch(*channels_[0]), watch(*channels_[1])};
            if (::poll(watched, 3, timeout) < 0 && errno != EINTR)
                return stop({kStatusFailure, systemError("poll")});
            if (const int signal = signals_.drain()) return stop(RunOutcome(128 + signal));
            for (int i = 0; i < 2; ++i) {
                if (watched[i + 1].revents != 0) service(*channels_[i]);
            }
            if (dosbox_.ended()) {
                // Everything it sent is in the sockets by now.
                drain();
                if (channels_[0]->relay.ended() && channels_[1]->relay.ended()) break;
                return stop(withLog({kStatusFailure, "DOSBox ended (" + dosbox_.howItEnded() +
                                                         ") before the program did"}));
            }
        }
        dosbox_.end();
        if (writeError_ != 0) return writeFailure();
        return std::nullopt;
    }

  private:
    static pollfd watch(const Channel& channel) {
        if (channel.connection.get() >= 0) return {channel.connection.get(), POLLIN, 0};
        if (!channel.connected) return {channel.listener.get(), POLLIN, 0};
        return {-1, 0, 0};
    }

    void service(Channel& channel) {
        if (!channel.connected) {
            channel.connection.reset(
                ::accept4(channel.listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
            channel.connected = channel.connection.get() >= 0;
            return;
        }
        take(channel, 0);
    }

    // One read of what came on the channel, relayed; false when nothing
    // came without waiting, or the connection has ended (DOSBox closed the
    // port: it is ending).
    bool take(Channel& channel, int flags) {
        char bytes[4096];
        const ssize_t got = ::recv(channel.connection.get(), bytes, sizeof bytes, flags);
        if (got < 0 && errno == EINTR) return true;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
        if (got <= 0) {
            channel.connection.reset();
            return false;
        }
        deliver(channel,
                channel.relay.feed(std::string_view(bytes, static_cast<std::size_t>(got))));
        return true;
    }

    void deliver(const Channel& channel, std::string_view text) {
        if (writeError_ != 0 || text.empty()) return;
        writeError_ = WriteAll(channel.target, text);
        if (writeError_ != 0) failedTarget_ = channel.target;
    }

    // Whatever has come and not been read yet.
    void drain() {
        for (Channel* channel : channels_) {
            while (channel->connection.get() >= 0 && take(*channel, MSG_DONTWAIT)) {
            }
        }
    }

    // The end of a run before its markers: what came is written out, the
    // last line without line end too, and DOSBox is ended.
    RunOutcome stop(RunOutcome outcome) {
        drain();
        deliver(*channels_[0], channels_[0]->relay.finish());
        // dosrun's own line follows on a line of its own.
        std::string last = channels_[1]->relay.finish();
        if (!last.empty() && !outcome.error.empty()) last += '\n';
        deliver(*channels_[1], last);
        dosbox_.end();
        return writeError_ != 0 ? writeFailure() : outcome;
    }

    RunOutcome writeFailure() const {
        if (writeError_ == EPIPE) {
            RunOutcome outcome(kStatusFailure);
            outcome.endSignal = SIGPIPE;
            return outcome;
        }
        const char* what = failedTarget_ == 1 ? "standard output: " : "standard error: ";
        return {kStatusFailure, what + std::string(std::strerror(writeError_))};
    }

    // DOSBox's log tells what went wrong inside it.
    RunOutcome withLog(RunOutcome outcome) const {
        outcome.details = LastLines(plan_.privateFolder + "/dosbox.log", kLogLines, kLogWidth);
        if (!outcome.details.empty()) outcome.error += "; the end of its log:";
        return outcome;
    }

    const RunPlan& plan_;
    Child& dosbox_;
    SignalPipe& signals_;
    Channel* channels_[2];
    int writeError_ = 0;
    int failedTarget_ = 1;
};

// dosrun's standard input up to its end, for the program; an ending signal
// stops the wait.
std::optional<RunOutcome> readInput(SignalPipe& signals, std::string& input) {
    char bytes[65536];
    while (true) {
        pollfd watched[2] = {{signals.fd(), POLLIN, 0}, {0, POLLIN, 0}};
        if (::poll(watched, 2, -1) < 0 && errno != EINTR)
            return RunOutcome(kStatusFailure, systemError("poll"));
        if (const int signal = signals.drain()) return RunOutcome(128 + signal);
        if (watched[1].revents == 0) continue;
        const ssize_t got = ::read(0, bytes, sizeof bytes);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got < 0) return RunOutcome(kStatusFailure, systemError("the standard input"));
        if (got == 0) return std::nullopt;
        if (input.size() + static_cast<std::size_t>(got) > kInputLimit)
            return RunOutcome(kStatusFailure, "the standard input is larger than 16 MiB");
        input.append(bytes, static_cast<std::size_t>(got));
    }
}

// The outcome told by the files of a run whose markers came.
RunOutcome outcomeOfRun(const RunPlan& plan, bool sawMissingProgram,
                        const std::string& programName) {
    const auto record = ParseLaunchRecord(
        ReadRegularFile(plan.privateFolder + "/" + kRecordFile, 64).value_or(std::string()));
    if (!record) return {kStatusFailure, "the program ended without an exit code"};
    switch (record->kind) {
        case LaunchRecord::NotStarted:
            if (record->number == 2 || record->number == 3)
                return {kStatusNoProgram, NoProgramText(programName)};
            return {kStatusNotStarted,
                    "DOS could not start " + programName + ": " + dosErrorText(record->number)};
        case LaunchRecord::NoHandles:
            return {kStatusFailure,
                    "the program's standard input, output and error could not be set: " +
                        dosErrorText(record->number)};
        case LaunchRecord::Exited:
            break;
    }
    if (!plan.programFile.empty()) return RunOutcome(record->number);
    // The exit code of a shell command or a batch program.
    if (sawMissingProgram) return {kStatusNoProgram, NoProgramText(programName)};
    const int status = ParseStatusText(
        ReadRegularFile(plan.privateFolder + "/" + kStatusFile, 64).value_or(std::string()));
    if (status < 0) return {kStatusFailure, "the program ended without an exit code"};
    return RunOutcome(status);
}

}  // namespace

std::string NoProgramText(const std::string& program) {
    return "DOS found no program or command " + program;
}

RunOutcome RunInDosbox(RunPlan plan, const std::string& dosbox, const std::string& programName) {
    SignalPipe signals;
    const std::string base = TemporaryFolder();
    RemoveLeftFolders(base);
    PrivateFolder folder(base);
    if (!signals.ok()) return {kStatusFailure, systemError("no signal pipe")};
    if (folder.path().empty()) return {kStatusFailure, systemError("no private folder in " + base)};
    plan.privateFolder = folder.path();
    plan.privateDrive = FreeDriveLetter(plan.settings);
    plan.marker = randomMarker();
    Channel output(1, plan.marker, "Illegal command: " + programName + ".");
    Channel error(2, plan.marker, {});
    output.listener.reset(listenOnLoopback(plan.outputPort));
    error.listener.reset(listenOnLoopback(plan.errorPort));
    if (output.listener.get() < 0 || error.listener.get() < 0)
        return {kStatusFailure, systemError("no socket at 127.0.0.1")};
    std::string input;
    if (plan.passInput) {
        if (auto ended = readInput(signals, input)) return *ended;
    }
    if (!writeRunFiles(plan, input))
        return {kStatusFailure, systemError("the run's files could not be written")};

    // DOSBox gets a home of its own: the user's configuration and home are
    // neither read nor written.
    const std::string home = plan.privateFolder + "/home";
    ::mkdir(home.c_str(), 0700);
    const auto environment = EnvironmentWith(
        {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
         "XDG_RUNTIME_DIR", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER", "DISPLAY", "WAYLAND_DISPLAY"},
        {"HOME=" + home, "XDG_CONFIG_HOME=" + home, "XDG_DATA_HOME=" + home,
         "XDG_CACHE_HOME=" + home, "XDG_STATE_HOME=" + home, "SDL_VIDEODRIVER=dummy",
         "SDL_AUDIODRIVER=dummy"});
    Child child;
    if (!child.start(dosbox, {"-conf", plan.privateFolder + "/" + kConfigurationFile}, environment,
                     plan.privateFolder + "/dosbox.log"))
        return {kStatusFailure, systemError("DOSBox could not be started")};

    Session session(plan, child, signals, output, error);
    if (auto ended = session.relayUntilMarkers()) return *ended;
    // The markers follow the record's last write: DOSBox has been ended.
    return outcomeOfRun(plan, output.relay.sawMissingProgram(), programName);
}

}  // namespace dosrun
