// An entry swapped between the look and the open of openRegularFile: this
// test program's own open() swaps it, when armed with its path, before it
// opens as the C library does.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>

#include <cstdarg>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "regularfile.h"
#include "tempfolder.h"

namespace {

std::string armedPath;
std::function<void()> beforeOpen;

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = (flags & O_CREAT) != 0 ? va_arg(args, mode_t) : 0;
    va_end(args);
    if (!armedPath.empty() && armedPath == path) {
        armedPath.clear();
        beforeOpen();
    }
    static const auto next =
        reinterpret_cast<int (*)(const char*, int, ...)>(dlsym(RTLD_NEXT, "open"));
    return next(path, flags, mode);
}

namespace {

namespace fs = std::filesystem;

// Swapped for another regular file, or for a link to the very file looked
// at (moved aside), the entry is not opened.
TEST(RegularFileRace, AnEntrySwappedAfterTheLookIsRefused) {
    for (const bool toLink : {false, true}) {
        SCOPED_TRACE(toLink ? "swapped for a link to it" : "swapped for another file");
        TempFolder folder("regularfile-race-");
        const fs::path entry = folder.path() / "entry";
        const fs::path other = folder.path() / "other";
        std::ofstream(entry) << "looked at\n";
        std::ofstream(other) << "swapped in\n";
        armedPath = entry.string();
        beforeOpen = [&] {
            fs::rename(toLink ? entry : other, toLink ? other : entry);
            if (toLink) fs::create_symlink(other.filename(), entry);
        };
        const common::OpenedFile opened = common::openRegularFile(entry.string());
        EXPECT_TRUE(armedPath.empty()) << "the open was not reached";
        EXPECT_TRUE(opened.file == nullptr && !opened.missing);
    }
}

}  // namespace
