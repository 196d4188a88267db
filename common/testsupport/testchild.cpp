// A Windows child for the process tests that needs no shell: each argument is one
// step, done in order.
//   out:TEXT    TEXT and "\n" on standard output      err:TEXT  the same on standard error
//   raw:TEXT    TEXT alone on standard output         fill:N    N lines of 99 bytes and "\n"
//   sleep:MS    waits MS milliseconds                 exit:N    ends with exit status N
//   answer      reads one byte of standard input and writes "answer " and its hex digits
//   pending     writes "pending " and the number of bytes waiting on standard input
//   cwd         writes the current folder             touch:F   creates the file F
//   hold:F      keeps F open, shared with nobody, until the child ends
// Output is binary: "\n" stays one byte.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

void Write(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

// Bytes that can be read from standard input without waiting.
unsigned long PendingInput() {
    DWORD available = 0;
    PeekNamedPipe(GetStdHandle(STD_INPUT_HANDLE), nullptr, 0, nullptr, &available, nullptr);
    return available;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        const std::size_t colon = step.find(':');
        const std::string verb = step.substr(0, colon);
        const std::string value = colon == std::string::npos ? "" : step.substr(colon + 1);
        if (verb == "out") {
            Write(stdout, value + "\n");
        } else if (verb == "err") {
            Write(stderr, value + "\n");
        } else if (verb == "raw") {
            Write(stdout, value);
        } else if (verb == "fill") {
            std::string lines;
            for (long n = std::atol(value.c_str()); n > 0; --n)
                lines += std::string(99, 'x') + "\n";
            Write(stdout, lines);
        } else if (verb == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(value.c_str())));
        } else if (verb == "exit") {
            return std::atoi(value.c_str());
        } else if (verb == "answer") {
            const int byte = std::getchar();
            char hex[16];
            std::snprintf(hex, sizeof hex, "%02x", byte == EOF ? 0xff : byte);
            Write(stdout, std::string("\nanswer ") + hex + "\n");
        } else if (verb == "pending") {
            Write(stdout, "pending " + std::to_string(PendingInput()) + "\n");
        } else if (verb == "cwd") {
            Write(stdout, std::filesystem::current_path().string() + "\n");
        } else if (verb == "touch") {
            std::ofstream(value) << "started\n";
        } else if (verb == "hold") {
            if (CreateFileA(value.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr) == INVALID_HANDLE_VALUE) {
                Write(stderr, "cannot hold " + value + "\n");
                return 125;
            }
        } else {
            Write(stderr, "unknown step " + step + "\n");
            return 125;
        }
    }
    return 0;
}
