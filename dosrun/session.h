// One run of a DOS program in DOSBox: the private folder with the run's
// files, the socket that DOSBox's COM1 connects to, DOSBox itself, the
// output relayed as it comes, the exit code, and the clean-up however the
// run ends.
#pragma once

#include <string>

#include "dosboxfiles.h"

namespace dosrun {

// Exit statuses of dosrun's own.
constexpr int kStatusTimeout = 124;
constexpr int kStatusFailure = 125;
constexpr int kStatusNoProgram = 127;

struct RunOutcome {
    int status = kStatusFailure;  // the program's exit code, or one of dosrun's
    std::string error;            // the "dosrun: " line's text, when dosrun says one
};

// `plan` is complete but for its private folder, drive, port and marker.
RunOutcome RunInDosbox(RunPlan plan, const std::string& dosbox, const std::string& programName);

}  // namespace dosrun
