// The POSIX and the Windows side of opening a regular file safely, the
// reads of one through its descriptor, and the exclusive create of a new
// file.
#include "regularfile.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <string_view>
#include <utility>

namespace common {

#ifdef _WIN32

namespace {

bool isPlainFile(DWORD attributes) {
    return (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
}

// "COM1", "nul.txt" and their kind name devices in every folder: the full
// path of such a name is the device's "\\.\" path, as are pipes'. Of the
// "\\?\" paths only those of a drive's or a share's files name no device.
bool namesDevice(const std::string& path) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return true;
    const std::string_view name(full, length);
    if (name.starts_with("\\\\.\\")) return true;
    if (!name.starts_with("\\\\?\\")) return false;
    const std::string_view rest = name.substr(4);
    const bool drivePath = rest.size() >= 3 && std::isalpha(static_cast<unsigned char>(rest[0])) &&
                           rest[1] == ':' && rest[2] == '\\';
    return !drivePath && !rest.starts_with("UNC\\");
}

// The C runtime's descriptor that owns the handle; -1 (and the handle
// closed) when there is none.
int descriptorOf(HANDLE handle, int flags) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0) CloseHandle(handle);
    return fd;
}

// The handle as a stdio stream that owns it; null (and the handle closed)
// when that fails.
FileHandle streamOf(HANDLE handle, int flags, const char* mode) {
    const int fd = descriptorOf(handle, flags);
    if (fd < 0) return nullptr;
    FileHandle file(_fdopen(fd, mode));
    if (!file) _close(fd);
    return file;
}

long long readDescriptor(int fd, char* buffer, std::size_t size) {
    return _read(fd, buffer, static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX)));
}

bool readyForReads(int) {
    return true;
}

void closeDescriptor(int fd) {
    _close(fd);
}

FILE* streamOfDescriptor(int fd) {
    return _fdopen(fd, "rb");
}

}  // namespace

OpenedInput openRegularInput(const std::string& path) {
    // Nothing is asked about a device or a pipe: a query of its attributes
    // goes to it and may take a pipe's waiting instance.
    if (namesDevice(path)) return {};
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return {{}, error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND};
    }
    if (!isPlainFile(attributes)) return {};
    // Others may read along but not write while the file is read. A link
    // put in place meanwhile is opened as itself and refused below.
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        !isPlainFile(info.dwFileAttributes)) {
        CloseHandle(handle);
        return {};
    }
    const int fd = descriptorOf(handle, _O_RDONLY);
    if (fd < 0) return {};
    return {InputFile(
        fd, (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow)};
}

CreatedFile createNewFile(const std::string& path, NewFilePermissions) {
    // A device's name is taken in every folder; CREATE_NEW would open the
    // device (NUL) and its writes would vanish.
    if (namesDevice(path)) return {nullptr, true};
    // No sharing while it is written; CREATE_NEW fails on any existing
    // name, a link included.
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return {nullptr, error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS};
    }
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return {};
    }
    FileHandle file = streamOf(handle, _O_WRONLY, "wb");
    if (!file) DeleteFileA(path.c_str());
    return {std::move(file)};
}

#else

namespace {

long long readDescriptor(int fd, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        // A signal that came during the read is no failure of it.
        if (got >= 0 || errno != EINTR) return got;
    }
}

// O_NONBLOCK is the only status flag the open set: F_SETFL without any
// takes it back off. A file that is only looked for is never read, and
// keeps it.
bool readyForReads(int fd) {
    return fcntl(fd, F_SETFL, 0) == 0;
}

void closeDescriptor(int fd) {
    close(fd);
}

FILE* streamOfDescriptor(int fd) {
    return fdopen(fd, "rb");
}

}  // namespace

OpenedInput openRegularInput(const std::string& path) {
    struct stat entry {};
    if (lstat(path.c_str(), &entry) != 0) return {{}, errno == ENOENT};
    if (!S_ISREG(entry.st_mode)) return {};
    // Should the entry be swapped for a FIFO meanwhile, the open neither
    // waits for a writer nor follows a link.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return {{}, errno == ENOENT};
    struct stat opened {};
    if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_dev != entry.st_dev ||
        opened.st_ino != entry.st_ino) {
        close(fd);
        return {};
    }
    return {InputFile(fd, static_cast<unsigned long long>(opened.st_size))};
}

CreatedFile createNewFile(const std::string& path, NewFilePermissions permissions) {
    // O_EXCL fails on any existing name, a link included.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        permissions == NewFilePermissions::OwnerOnly ? 0600 : 0666);
    if (fd < 0) return {nullptr, errno == EEXIST};
    FileHandle file(fdopen(fd, "wb"));
    if (!file) {
        close(fd);
        unlink(path.c_str());
    }
    return {std::move(file)};
}

#endif

InputFile::InputFile(InputFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      sizeWhenOpened_(other.sizeWhenOpened_),
      bytesRead_(other.bytesRead_),
      readsStarted_(other.readsStarted_),
      atEnd_(other.atEnd_),
      failed_(other.failed_) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) closeDescriptor(fd_);
        fd_ = std::exchange(other.fd_, -1);
        sizeWhenOpened_ = other.sizeWhenOpened_;
        bytesRead_ = other.bytesRead_;
        readsStarted_ = other.readsStarted_;
        atEnd_ = other.atEnd_;
        failed_ = other.failed_;
    }
    return *this;
}

InputFile::~InputFile() {
    if (fd_ >= 0) closeDescriptor(fd_);
}

std::size_t InputFile::read(char* buffer, std::size_t size) {
    if (fd_ < 0 || atEnd_ || size == 0) return 0;
    if (!readsStarted_) {
        readsStarted_ = true;
        if (!readyForReads(fd_)) {
            atEnd_ = failed_ = true;
            return 0;
        }
    }
    const long long got = readDescriptor(fd_, buffer, size);
    if (got <= 0) {
        atEnd_ = true;
        failed_ = got < 0;
        return 0;
    }
    bytesRead_ += static_cast<unsigned long long>(got);
    // Less than asked for, and the file read to the size it had: the end,
    // as one more read would tell.
    if (static_cast<std::size_t>(got) < size && bytesRead_ == sizeWhenOpened_) atEnd_ = true;
    return static_cast<std::size_t>(got);
}

OpenedFile openRegularFile(const std::string& path) {
    OpenedInput opened = openRegularInput(path);
    if (!opened.file.isOpen()) return {nullptr, opened.missing};
    if (!readyForReads(opened.file.fd_)) return {};
    FileHandle file(streamOfDescriptor(opened.file.fd_));
    if (file) opened.file.fd_ = -1;  // the stream closes it now
    return {std::move(file)};
}

FileRead readRegularFile(const std::string& path, std::string& content, std::size_t limit) {
    content.clear();
    OpenedInput opened = openRegularInput(path);
    if (!opened.file.isOpen()) return opened.missing ? FileRead::Missing : FileRead::Refused;
    char chunk[65536];
    while (const std::size_t got = opened.file.read(chunk, sizeof chunk)) {
        if (got > limit - content.size()) {
            content.clear();
            return FileRead::Refused;
        }
        content.append(chunk, got);
    }
    if (!opened.file.failed()) return FileRead::Read;
    content.clear();
    return FileRead::Refused;
}

}  // namespace common
