// An entry swapped between the look and the open of openRegularFile. This
// test program has an open() of its own in front of the C library's: armed
// with a path, it lets the test swap the entry first, then opens as the C
// library does.
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
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    if (!armedPath.empty() && armedPath == path) {
        armedPath.clear();
        beforeOpen();
    }
    using Open = int (*)(const char*, int, ...);
    static const auto next = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "open"));
    return next(path, flags, mode);
}

namespace {

namespace fs = std::filesystem;

// Swapped for another regular file, or for a link to the very file looked
// at (moved aside), the entry is not opened: what the open found is not
// what was looked at, or it is a link.
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
            if (!toLink) {
                fs::rename(other, entry);
                return;
            }
            fs::rename(entry, other);
            fs::create_symlink(other.filename(), entry);
        };
        const common::OpenedFile opened = common::openRegularFile(entry.string());
        EXPECT_TRUE(armedPath.empty()) << "the open was not reached";
        EXPECT_TRUE(opened.file == nullptr && !opened.missing);
    }
}

}  // namespace
