// Ends a depmill run from anywhere with one "Depmill: " line and an exit
// status; main turns it into the process's exit status.
#pragma once

#include <string>

namespace depmill {

struct RunEnd {
    int status;
};

// Writes the message to standard error and ends the run with the status.
[[noreturn]] void endRun(int status, const std::string& message);

}  // namespace depmill
