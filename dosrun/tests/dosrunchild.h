// The real dosrun as a child of a test: its own process group, as the IDE
// starts a build step, a settings home and a temporary folder of the
// test's own, standard output read as it comes.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

struct DosrunEnvironment {
    std::filesystem::path home;    // HOME; XDG_CONFIG_HOME is its .config
    std::filesystem::path tmp;     // TMPDIR
    std::string path;              // PATH; empty: the test's own
};

class DosrunChild {
  public:
    DosrunChild(const std::vector<std::string>& arguments, const std::filesystem::path& folder,
                const DosrunEnvironment& environment);
    ~DosrunChild();
    DosrunChild(const DosrunChild&) = delete;
    DosrunChild& operator=(const DosrunChild&) = delete;

    // Reads standard output until it holds `text`; false when it did not
    // come within the time.
    bool waitForOutput(const std::string& text, std::chrono::milliseconds limit);
    // Waits for the end (killing the group after the limit) and returns the
    // exit status, or 128 + the signal that ended it.
    int wait(std::chrono::milliseconds limit = std::chrono::seconds(30));
    void signal(int number) const;
    void signalGroup(int number) const;

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

DosrunResult RunDosrun(const std::vector<std::string>& arguments, const std::filesystem::path& folder,
                       const DosrunEnvironment& environment);

// Processes whose command line mentions the text (DOSBox is started with
// its configuration in dosrun's private folder under TMPDIR).
std::vector<pid_t> ProcessesMentioning(const std::string& text);
