// Whether a process runs, read from /proc, for tests of children that are
// left running or stopped.
#pragma once

#include <sys/types.h>

#include <fstream>
#include <string>

// False when the process is gone or has ended and waits to be reaped.
inline bool ProcessRuns(pid_t pid) {
    std::string line;
    std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/stat"), line);
    // "pid (name) state ...", where the name may hold blanks.
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos || close + 2 >= line.size()) return false;
    const char state = line[close + 2];
    return state != 'Z' && state != 'X';
}
