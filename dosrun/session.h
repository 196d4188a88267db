// One run of a DOS program in DOSBox: the private folder with the run's
// files, the sockets that DOSBox's COM1 and COM2 connect to, DOSBox itself,
// the output and error lines relayed as they come, the exit code, and the
// clean-up however the run ends.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dosboxfiles.h"

namespace dosrun {

// Exit statuses of dosrun's own.
constexpr int kStatusTimeout = 124;
constexpr int kStatusFailure = 125;
constexpr int kStatusNotStarted = 126;
constexpr int kStatusNoProgram = 127;

struct RunOutcome {
    RunOutcome(int status, std::string error = {}) : status(status), error(std::move(error)) {}

    int status;                        // the program's exit code, or one of dosrun's
    std::string error;                 // the "dosrun: " line's text, when dosrun says one
    std::vector<std::string> details;  // lines that follow it (DOSBox's last log lines)
    int endSignal = 0;                 // the signal dosrun ends itself by instead (SIGPIPE)
};

// "DOS found no program or command NAME".
std::string NoProgramText(const std::string& program);

// `plan` is complete but for its private folder, drive, ports and marker.
RunOutcome RunInDosbox(RunPlan plan, const std::string& dosbox, const std::string& programName);

}  // namespace dosrun
