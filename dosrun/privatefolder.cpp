#include "privatefolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "dostext.h"

namespace dosrun {

namespace {

constexpr std::string_view kPrefix = "dosrun-";
// mkdtemp's part of the name: six letters or digits after the prefix.
constexpr std::size_t kUniquePart = 6;
// Written into the folder as soon as it is locked, so that a folder of the
// same look that dosrun did not make (a user's, a test's) is never taken
// for a left one.
constexpr char kOwnMark[] = "DOSRUN.OWN";

bool hasPrivateFolderName(std::string_view name) {
    return name.size() == kPrefix.size() + kUniquePart && name.starts_with(kPrefix) &&
           std::all_of(name.begin() + kPrefix.size(), name.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

// An empty folder whose lock is free may be one that a dosrun has just made
// and not locked yet; empty for this long, its dosrun died before it did.
constexpr std::time_t kUnlockedEmptyAge = 60;

// The folder entry `name` of `base`, opened without following a link, when
// it is a folder of this user's; -1 otherwise.
int openOwnFolder(int base, const char* name) {
    const int fd = ::openat(base, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool hasOwnMark(int fd) {
    struct stat st {};
    return ::fstatat(fd, kOwnMark, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
}

bool isEmptyFolder(int fd) {
    const int copy = ::dup(fd);
    DIR* folder = copy < 0 ? nullptr : ::fdopendir(copy);
    if (folder == nullptr) {
        if (copy >= 0) ::close(copy);
        return false;
    }
    int entries = 0;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") ++entries;
    }
    ::closedir(folder);
    return entries == 0;
}

bool olderThan(int fd, std::time_t seconds) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && st.st_mtime + seconds < std::time(nullptr);
}

}  // namespace

PrivateFolder::PrivateFolder(const std::string& base) {
    std::string name = base + "/" + std::string(kPrefix) + "XXXXXX";
    if (::mkdtemp(name.data()) == nullptr) return;
    // The lock is taken before anything is put in, and the mark first: a
    // marked folder with no lock on it is one whose dosrun has ended.
    lock_ = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const int mark =
        lock_ < 0 || ::flock(lock_, LOCK_EX) != 0
            ? -1
            : ::openat(lock_, kOwnMark, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (mark < 0) {
        if (lock_ >= 0) ::close(lock_);
        lock_ = -1;
        ::rmdir(name.c_str());
        return;
    }
    ::close(mark);
    path_ = name;
}

PrivateFolder::~PrivateFolder() {
    std::error_code ignored;
    // remove_all removes a link, never what it leads to.
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    if (lock_ >= 0) ::close(lock_);
}

std::string TemporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = tmp != nullptr && *tmp == '/' ? tmp : "/tmp";
    if (std::string unmountable; !CheckMountFolder(base, &unmountable)) base = "/tmp";
    return base;
}

void RemoveLeftFolders(const std::string& base) {
    DIR* folder = ::opendir(base.c_str());
    if (folder == nullptr) return;
    while (const dirent* entry = ::readdir(folder)) {
        if (!hasPrivateFolderName(entry->d_name)) continue;
        const int fd = openOwnFolder(::dirfd(folder), entry->d_name);
        if (fd < 0) continue;
        // A running dosrun holds its lock: the try fails at once.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (hasOwnMark(fd)) {
                std::error_code ignored;
                std::filesystem::remove_all(base + "/" + entry->d_name, ignored);
            } else if (isEmptyFolder(fd) && olderThan(fd, kUnlockedEmptyAge)) {
                // Made and died before its mark: removed only while still empty.
                ::unlinkat(::dirfd(folder), entry->d_name, AT_REMOVEDIR);
            }
        }
        ::close(fd);
    }
    ::closedir(folder);
}

}  // namespace dosrun
