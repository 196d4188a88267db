// A file that another process holds open without sharing it, as an editor
// or a virus scanner may (Windows only): the test child opens it with share
// mode 0 and keeps it until the HeldFile goes, which ends the child by its
// handle. Should the test program die first, the child ends with it: it
// waits on a pipe from the test program.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "programfolder.h"

class HeldFile {
  public:
    explicit HeldFile(const std::filesystem::path& file) {
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE outRead = nullptr;
        HANDLE outWrite = nullptr;
        HANDLE inRead = nullptr;
        if (!CreatePipe(&outRead, &outWrite, &inherit, 0) ||
            !CreatePipe(&inRead, &input_, &inherit, 0)) {
            throw std::runtime_error("no pipe for the test child");
        }
        SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
        // Held, it says so, then waits for a byte that never comes.
        std::string commandLine = "\"" + TestProgram("vantor_testchild").string() +
                                  "\" \"hold:" + file.string() + "\" out:held answer";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = inRead;
        startup.hStdOutput = outWrite;
        startup.hStdError = outWrite;
        const bool started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                            CREATE_NO_WINDOW, nullptr, nullptr, &startup, &child_);
        CloseHandle(inRead);
        CloseHandle(outWrite);
        std::string said;
        char buffer[256];
        DWORD got = 0;
        while (started && said.find('\n') == std::string::npos &&
               ReadFile(outRead, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            said.append(buffer, got);
        }
        CloseHandle(outRead);
        if (!started) throw std::runtime_error("cannot start " + commandLine);
        if (said != "held\n") {
            end();
            throw std::runtime_error("the test child did not hold " + file.string() + ": " + said);
        }
    }
    ~HeldFile() { end(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

  private:
    void end() {
        if (child_.hProcess != nullptr) {
            TerminateProcess(child_.hProcess, 1);
            WaitForSingleObject(child_.hProcess, INFINITE);
            CloseHandle(child_.hThread);
            CloseHandle(child_.hProcess);
            child_ = {};
        }
        if (input_ != nullptr) CloseHandle(input_);
        input_ = nullptr;
    }

    PROCESS_INFORMATION child_{};
    HANDLE input_ = nullptr;
};
#endif
