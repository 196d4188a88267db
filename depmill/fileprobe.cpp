// File probes on top of stdio and stat, which every target platform has.
#include "fileprobe.h"

#include <sys/stat.h>

#include <cstdio>

namespace depmill {

bool canOpenForReading(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    // A folder opens for reading here but not on DOS: it is no file to include.
    struct stat info {};
    const bool isFolder = fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
    std::fclose(file);
    return !isFolder;
}

bool isSameFile(const std::string& a, const std::string& b) {
    struct stat infoA {};
    struct stat infoB {};
    if (stat(a.c_str(), &infoA) != 0 || stat(b.c_str(), &infoB) != 0) return false;
    return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

}  // namespace depmill
