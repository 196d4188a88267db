// The real dosrun as a child of a test: its own process group, as the IDE
// starts a build step, a settings home and a temporary folder of the
// test's own, standard output read as it comes.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

struct DosrunEnvironment {
    std::filesystem::path home;  // HOME; XDG_CONFIG_HOME is its .config
    std::filesystem::path tmp;   // TMPDIR
    std::string path;            // PATH; empty: the test's own
};

// dosrun's standard handles: input from a pipe that holds `input`, output
// and error read as they come (error on the output where `errorOnOutput`),
// or output into a file.
struct DosrunStreams {
    std::string input;
    bool errorOnOutput = false;
    std::string outputFile;  // empty: a pipe

    static DosrunStreams withInput(std::string text) {
        DosrunStreams streams;
        streams.input = std::move(text);
        return streams;
    }
    static DosrunStreams errorsOnOutput() {
        DosrunStreams streams;
        streams.errorOnOutput = true;
        return streams;
    }
    static DosrunStreams outputInto(std::string file) {
        DosrunStreams streams;
        streams.outputFile = std::move(file);
        return streams;
    }
};

class DosrunChild {
  public:
    DosrunChild(const std::vector<std::string>& arguments, const std::filesystem::path& folder,
                const DosrunEnvironment& environment,
                const DosrunStreams& streams = DosrunStreams());
    ~DosrunChild();
    DosrunChild(const DosrunChild&) = delete;
    DosrunChild& operator=(const DosrunChild&) = delete;

    // Reads standard output and error until one of them holds `text`;
    // false when it did not come within the time.
    bool waitForOutput(const std::string& text, std::chrono::milliseconds limit);
    // Closes the reading end of its standard output, as a reader that has
    // had enough does.
    void closeOutput();
    // Waits for the end (killing the group after the limit) and returns the
    // exit status, or 128 + the signal that ended it.
    int wait(std::chrono::milliseconds limit = std::chrono::seconds(30));
    void signal(int number) const;
    void signalGroup(int number) const;
    pid_t pid() const { return pid_; }

    const std::string& out() const { return out_; }
    const std::string& err() const { return err_; }

  private:
    void readAvailable(int timeoutMs);

    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::string out_;
    std::string err_;
};

struct DosrunResult {
    int status;
    std::string out;
    std::string err;
};

DosrunResult RunDosrun(const std::vector<std::string>& arguments,
                       const std::filesystem::path& folder, const DosrunEnvironment& environment,
                       const DosrunStreams& streams = DosrunStreams());

// Processes whose command line mentions the text (DOSBox is started with
// its configuration in dosrun's private folder under TMPDIR); a process
// that has ended and waits to be reaped has none.
std::vector<pid_t> ProcessesMentioning(const std::string& text);

// True while the process runs: it exists and is no zombie.
bool IsRunning(pid_t pid);
