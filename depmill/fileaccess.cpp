// The POSIX and the Windows side of depmill's file access.
#include "fileaccess.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace depmill {

common::LineReader RealFileSystem::readLines(const std::string& path) {
    return common::LineReader(common::openRegularInput(path).file);
}

NewFileWrite RealFileSystem::writeNewFile(const std::string& path, std::string_view bytes) {
    common::CreatedFile created =
        common::createNewFile(path, common::NewFilePermissions::AsUmaskAllows);
    if (!created.file)
        return created.nameTaken ? NewFileWrite::NameTaken : NewFileWrite::NotCreated;
    std::FILE* file = created.file.release();
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    return written && flushed && closed ? NewFileWrite::Written : NewFileWrite::NotWritten;
}

#ifdef _WIN32

namespace {

bool isPlainFile(DWORD attributes) {
    return (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace

EntryKind RealFileSystem::entryKind(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::Missing;
    return isPlainFile(attributes) ? EntryKind::RegularFile : EntryKind::Other;
}

bool RealFileSystem::isSameFile(const std::string& a, const std::string& b) {
    // Opened as inputs are, so that a name that stands for a device
    // ("com1.c" is the serial port) or a link is never opened to compare.
    auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        const common::FileHandle file = common::openRegularFile(path).file;
        if (!file) return false;
        const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file.get())));
        return GetFileInformationByHandle(handle, &info) != 0;
    };
    BY_HANDLE_FILE_INFORMATION infoA{};
    BY_HANDLE_FILE_INFORMATION infoB{};
    return identity(a, infoA) && identity(b, infoB) &&
           infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
           infoA.nFileIndexHigh == infoB.nFileIndexHigh &&
           infoA.nFileIndexLow == infoB.nFileIndexLow;
}

bool RealFileSystem::rename(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

void RealFileSystem::remove(const std::string& path) {
    DeleteFileA(path.c_str());
}

std::optional<std::vector<std::string>> RealFileSystem::listFolder() {
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

EntryKind RealFileSystem::entryKind(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return EntryKind::Missing;
    return S_ISREG(info.st_mode) ? EntryKind::RegularFile : EntryKind::Other;
}

bool RealFileSystem::isSameFile(const std::string& a, const std::string& b) {
    struct stat infoA {};
    struct stat infoB {};
    if (stat(a.c_str(), &infoA) != 0 || stat(b.c_str(), &infoB) != 0) return false;
    return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

bool RealFileSystem::rename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void RealFileSystem::remove(const std::string& path) {
    unlink(path.c_str());
}

std::optional<std::vector<std::string>> RealFileSystem::listFolder() {
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
