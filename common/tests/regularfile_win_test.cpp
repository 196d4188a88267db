// What only Windows has in a folder: a file another process holds open
// without sharing it, and the links of NTFS (symbolic links, junctions).
#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "heldfile.h"
#include "regularfile.h"
#include "tempfolder.h"

namespace {

namespace fs = std::filesystem;

using common::FileRead;

// Held by another process, a file is refused at once, not waited for, and
// read again once that process let it go.
TEST(RegularFileWin, AFileHeldWithoutSharingIsRefusedAtOnce) {
    TempFolder folder("regularfile-win-");
    const fs::path file = folder.path() / "held.h";
    std::ofstream(file, std::ios::binary) << "text";
    std::string read;
    {
        HeldFile held(file);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(common::readRegularFile(file.string(), read), FileRead::Refused);
        const common::OpenedFile opened = common::openRegularFile(file.string());
        EXPECT_TRUE(opened.file == nullptr && !opened.missing);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
    EXPECT_EQ(common::readRegularFile(file.string(), read), FileRead::Read);
    EXPECT_EQ(read, "text");
}

// A junction to the folder: what FSCTL_SET_REPARSE_POINT takes for one.
bool makeJunction(const fs::path& junction, const fs::path& target) {
    if (!CreateDirectoryW(junction.c_str(), nullptr)) return false;
    HANDLE handle = CreateFileW(junction.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const std::wstring substitute = L"\\??\\" + fs::absolute(target).wstring();
    const std::size_t nameBytes = substitute.size() * sizeof(wchar_t);
    // Tag, data length, reserved; then the mount point's offsets and lengths
    // (substitute name, print name), then both names, each with its NUL.
    std::vector<char> buffer(8 + 8 + nameBytes + 2 * sizeof(wchar_t));
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    const WORD dataLength = static_cast<WORD>(buffer.size() - 8);
    const WORD fields[4] = {0, static_cast<WORD>(nameBytes), static_cast<WORD>(nameBytes + 2), 0};
    std::memcpy(buffer.data(), &tag, 4);
    std::memcpy(buffer.data() + 4, &dataLength, 2);
    std::memcpy(buffer.data() + 8, fields, sizeof fields);
    std::memcpy(buffer.data() + 16, substitute.data(), nameBytes);
    DWORD returned = 0;
    const bool made =
        DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, buffer.data(),
                        static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr) != 0;
    CloseHandle(handle);
    return made;
}

// Whether the name is a reparse point: the system may report a link as
// made and make none.
bool isReparsePoint(const fs::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// A symbolic link, to a good file or to nothing, and a junction are refused
// as entries of their own, where the system lets this user make them.
TEST(RegularFileWin, SymbolicLinksAndJunctionsAreRefused) {
    TempFolder folder("regularfile-win-");
    const fs::path good = folder.path() / "good.h";
    std::ofstream(good, std::ios::binary) << "text";
    fs::create_directory(folder.path() / "inner");
    std::vector<fs::path> links;
    const DWORD unprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    for (const char* target : {"good.h", "gone.h"}) {
        const fs::path link = folder.path() / (std::string("link-") + target);
        CreateSymbolicLinkW(link.c_str(), fs::path(target).c_str(), unprivileged);
        if (isReparsePoint(link)) links.push_back(link);
    }
    const fs::path junction = folder.path() / "junction.h";
    if (makeJunction(junction, folder.path() / "inner") && isReparsePoint(junction)) {
        links.push_back(junction);
    }
    if (links.empty()) {
        GTEST_SKIP() << "this system makes neither symbolic links nor junctions here (Wine 8: "
                        "CreateSymbolicLink reports success and makes none, "
                        "FSCTL_SET_REPARSE_POINT is not supported)";
    }
    std::string read;
    for (const fs::path& link : links) {
        EXPECT_EQ(common::readRegularFile(link.string(), read), FileRead::Refused) << link;
        const common::OpenedFile opened = common::openRegularFile(link.string());
        EXPECT_TRUE(opened.file == nullptr && !opened.missing) << link;
    }
    EXPECT_EQ(common::readRegularFile(good.string(), read), FileRead::Read);
}

}  // namespace
