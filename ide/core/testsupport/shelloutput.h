// What /bin/sh -c prints for a script, for tests that check how the shell
// takes a command line apart.
#pragma once

#include <cstdio>
#include <string>

inline std::string ShellOutput(const std::string& script) {
    std::string output;
    std::FILE* pipe = popen(script.c_str(), "r");  // runs /bin/sh -c script
    if (pipe == nullptr) return "(not started)";
    char buffer[4096];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) {
        output.append(buffer, got);
    }
    pclose(pipe);
    return output;
}
