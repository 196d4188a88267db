// What a real child writes: a shell command's standard output as bytes, and
// the same cut into lines (without their line feeds).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

inline std::string CommandOutput(const std::string& command) {
    std::string bytes;
    FILE* child = popen(command.c_str(), "r");
    if (child == nullptr) return bytes;
    char buffer[4096];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, child)) > 0;)
        bytes.append(buffer, got);
    pclose(child);
    return bytes;
}

inline std::vector<std::string> CommandOutputLines(const std::string& command) {
    std::vector<std::string> lines;
    const std::string bytes = CommandOutput(command);
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
