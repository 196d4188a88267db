// The POSIX and the Windows side of depmill's file access.
#include "fileaccess.h"

#include <chrono>
#include <cstdint>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace depmill {

namespace {

// Attempts at a fresh name before creating the new file is given up.
constexpr int kNameAttempts = 100;

// Six letters or digits, different from one call to the next; the
// exclusive create, not the name, keeps the file ours.
std::string freshSuffix() {
    static std::uint64_t calls = 0;
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (++calls * 0x9E3779B97F4A7C15ULL) ^ reinterpret_cast<std::uintptr_t>(&calls);
    seed ^= seed >> 33;
    seed *= 0xFF51AFD7ED558CCDULL;
    seed ^= seed >> 33;
    constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix;
    for (int i = 0; i < 6; ++i, seed /= 36) suffix += kDigits[seed % 36];
    return suffix;
}

}  // namespace

FileHandle openInput(const std::string& path) {
    return common::openRegularFile(path).file;
}

bool canOpenForReading(const std::string& path) {
    return openInput(path) != nullptr;
}

#ifdef _WIN32

namespace {

bool isPlainFile(DWORD attributes) {
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                          FILE_ATTRIBUTE_DEVICE)) == 0;
}

// Wraps the handle in a stdio stream that owns it; null (and the handle
// closed) when that fails.
FileHandle streamOf(HANDLE handle, int flags, const char* mode) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    FileHandle file(_fdopen(fd, mode));
    if (!file) _close(fd);
    return file;
}

}  // namespace

EntryKind entryKind(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::Missing;
    return isPlainFile(attributes) ? EntryKind::RegularFile : EntryKind::Other;
}

bool isSameFile(const std::string& a, const std::string& b) {
    auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return false;
        const bool known = GetFileInformationByHandle(handle, &info) != 0;
        CloseHandle(handle);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION infoA{};
    BY_HANDLE_FILE_INFORMATION infoB{};
    return identity(a, infoA) && identity(b, infoB) &&
           infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
           infoA.nFileIndexHigh == infoB.nFileIndexHigh &&
           infoA.nFileIndexLow == infoB.nFileIndexLow;
}

std::optional<NewFile> createNewFile(const std::string& prefix) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = prefix + "." + freshSuffix();
        // No sharing while it is written; CREATE_NEW fails on any existing
        // name, a link included.
        HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            return std::nullopt;
        }
        FileHandle file = streamOf(handle, _O_WRONLY, "wb");
        if (!file) {
            DeleteFileA(name.c_str());
            return std::nullopt;
        }
        return NewFile{std::move(file), std::move(name)};
    }
    return std::nullopt;
}

bool moveEntry(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

void removeFile(const std::string& path) {
    DeleteFileA(path.c_str());
}

std::optional<std::vector<std::string>> listCurrentFolder() {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(".\\*.*", &entry);
    if (find == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<std::string> names;
    do {
        names.emplace_back(entry.cFileName);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

void letOversizedWritesFail() {
    // Windows reports a full disk or quota as a failed write already.
}

#else

EntryKind entryKind(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return EntryKind::Missing;
    return S_ISREG(info.st_mode) ? EntryKind::RegularFile : EntryKind::Other;
}

bool isSameFile(const std::string& a, const std::string& b) {
    struct stat infoA {};
    struct stat infoB {};
    if (stat(a.c_str(), &infoA) != 0 || stat(b.c_str(), &infoB) != 0) return false;
    return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

std::optional<NewFile> createNewFile(const std::string& prefix) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = prefix + "." + freshSuffix();
        // O_EXCL fails on any existing name, a link included; the mode is
        // that of any new file, as the umask allows.
        const int fd =
            open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        FileHandle file(fdopen(fd, "wb"));
        if (!file) {
            close(fd);
            unlink(name.c_str());
            return std::nullopt;
        }
        return NewFile{std::move(file), std::move(name)};
    }
    return std::nullopt;
}

bool moveEntry(const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str()) == 0;
}

void removeFile(const std::string& path) {
    unlink(path.c_str());
}

std::optional<std::vector<std::string>> listCurrentFolder() {
    DIR* folder = opendir(".");
    if (folder == nullptr) return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(folder)) names.emplace_back(entry->d_name);
    closedir(folder);
    return names;
}

void letOversizedWritesFail() {
    signal(SIGXFSZ, SIG_IGN);
}

#endif

}  // namespace depmill
