// One tool of the Tools menu and, equally, one run request of the runner;
// and the table of the user's tools.
#pragma once

#include <array>
#include <cstddef>
#include <string>

struct toolopt {
    std::string Name;
    std::string Command;
    std::string Arguments;
    std::string Folder;
    bool OutputRedirect = false;  // run captured into the output window
    bool Iconed = false;          // console hidden / started minimised
};

constexpr std::size_t kMaxTools = 20;

// Exactly kMaxTools slots; slots 0 to count-1 hold the tools in menu order.
struct tooloptions {
    std::array<toolopt, kMaxTools> tools;
    std::size_t count = 0;
};
