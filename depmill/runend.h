// The one way a depmill run fails: its message is written where it belongs
// (standard error, "no files presents" standard output) and RunEnd thrown,
// which runDepmill turns into the exit status.
#pragma once

#include <ostream>
#include <string_view>

namespace depmill {

struct RunEnd {
    int status;
};

// Writes the message to the stream and ends the run with the status.
[[noreturn]] void endRun(std::ostream& stream, int status, std::string_view message);

}  // namespace depmill
