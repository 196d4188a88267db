// Names that Windows takes for a device in every folder ("con.h", "NUL",
// "COM1.c", "nul.txt"), for the Windows tests: a real file under such a
// name, as another system or an unpacked archive leaves one, and a watch
// that tells whether anything opened a device name while it was on.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "tempfolder.h"

// Writes the text into a file under the path's name exactly, whatever
// device the bare name stands for.
inline void WriteUnderDeviceName(const std::filesystem::path& path, const std::string& text) {
    HANDLE file = CreateFileW(LiteralPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE && GetFileType(file) == FILE_TYPE_DISK &&
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!ok) throw std::runtime_error("cannot write " + path.string());
}

// While it lives, the device name (one of COM1 to COM9, say "COM8") leads
// to a named pipe of the watch's own, for every process of the session:
// whatever opens "com8.c" in any folder connects to the pipe. Each test
// program watches a name of its own, since test programs run side by side.
class DeviceWatch {
  public:
    explicit DeviceWatch(const std::string& device)
        : device_(device),
          pipe_("vantor-test-" + device + "-" + std::to_string(GetCurrentProcessId())),
          target_("\\Device\\NamedPipe\\" + pipe_) {
        connected_.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        server_ = CreateNamedPipeA(
            ("\\\\.\\pipe\\" + pipe_).c_str(),
            PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
            PIPE_TYPE_BYTE | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, 0, 0, nullptr);
        // Any access connects to a duplex pipe, even none (a query).
        const bool waiting = server_ != INVALID_HANDLE_VALUE &&
                             !ConnectNamedPipe(server_, &connected_) &&
                             GetLastError() == ERROR_IO_PENDING;
        if (connected_.hEvent == nullptr || !waiting ||
            !DefineDosDeviceA(DDD_RAW_TARGET_PATH, device_.c_str(), target_.c_str())) {
            close();
            throw std::runtime_error("cannot watch the device name " + device);
        }
        defined_ = true;
    }
    ~DeviceWatch() { close(); }
    DeviceWatch(const DeviceWatch&) = delete;
    DeviceWatch& operator=(const DeviceWatch&) = delete;

    // Whether anything opened the device name since the watch began.
    bool opened() const { return WaitForSingleObject(connected_.hEvent, 0) == WAIT_OBJECT_0; }

  private:
    void close() {
        if (defined_) {
            DefineDosDeviceA(
                DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                device_.c_str(), target_.c_str());
        }
        if (server_ != INVALID_HANDLE_VALUE) {
            CancelIo(server_);
            CloseHandle(server_);
        }
        if (connected_.hEvent != nullptr) CloseHandle(connected_.hEvent);
    }

    std::string device_;
    std::string pipe_;
    std::string target_;
    HANDLE server_ = INVALID_HANDLE_VALUE;
    OVERLAPPED connected_{};
    bool defined_ = false;
};
#endif
