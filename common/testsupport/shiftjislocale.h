// A real Shift-JIS locale for tests that run a program under it: made once
// per test program with localedef (ja_JP, charmap SHIFT_JIS) into a
// temporary folder of its own, and used through LOCPATH, so nothing is
// installed on the machine.
#pragma once

#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <memory>

#include "tempfolder.h"

extern char** environ;
#endif

struct ShiftJisLocale {
    std::vector<std::string> environment;  // "LOCPATH=...", "LC_ALL=..." for the child
    std::string whyNot;                    // set when no such locale could be made
};

inline const ShiftJisLocale& TestShiftJisLocale() {
#ifdef _WIN32
    static const ShiftJisLocale none{{}, "Windows chooses its code page by system setting"};
    return none;
#else
    static const std::unique_ptr<TempFolder> folder = std::make_unique<TempFolder>("sjis-locale-");
    static const ShiftJisLocale locale = [] {
        const std::string name = "ja_JP.SJIS";
        const std::string output = (folder->path() / name).string();
        // Warnings about the charmap (it is not ASCII compatible at 0x5C)
        // give status 1; the locale is made all the same with -c.
        std::vector<std::string> args = {"localedef", "-c",        "-i",  "ja_JP",
                                         "-f",        "SHIFT_JIS", output};
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        const int spawned =
            posix_spawnp(&pid, "localedef", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) return ShiftJisLocale{{}, "localedef cannot be started"};
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (!std::filesystem::exists(std::filesystem::path(output) / "LC_CTYPE"))
            return ShiftJisLocale{{}, "localedef made no ja_JP Shift-JIS locale here"};
        return ShiftJisLocale{{"LOCPATH=" + folder->path().string(), "LC_ALL=" + name}, {}};
    }();
    return locale;
#endif
}
