#include "regularfile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "devicenames.h"
#else
#include <sys/stat.h>

#include "openwatch.h"
#endif
#include "tempfolder.h"

namespace {

namespace fs = std::filesystem;

using common::FileRead;

class RegularFileTest : public ::testing::Test {
  protected:
    std::string write(const std::string& name, const std::string& content) {
        const fs::path path = folder_.path() / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    std::string path(const std::string& name) const { return (folder_.path() / name).string(); }

    TempFolder folder_{"regularfile-"};
};

TEST_F(RegularFileTest, ReadsEveryByteUpToTheLimit) {
    std::string content = "a\r\nb\x1a";
    content += '\0';
    while (content.size() < 200000) content += content;  // beyond one read's chunk
    const std::string file = write("data.bin", content);
    std::string read = "stale";
    EXPECT_EQ(common::readRegularFile(file, read), FileRead::Read);
    EXPECT_EQ(read, content);
    EXPECT_EQ(common::readRegularFile(file, read, content.size()), FileRead::Read);
    EXPECT_EQ(read, content);
    EXPECT_EQ(common::readRegularFile(file, read, content.size() - 1), FileRead::Refused);
    EXPECT_EQ(read, "");
    EXPECT_EQ(common::readRegularFile(write("empty", ""), read, 0), FileRead::Read);
}

TEST_F(RegularFileTest, MissingIsToldFromRefused) {
    std::string read;
    EXPECT_EQ(common::readRegularFile(path("none"), read), FileRead::Missing);
    EXPECT_EQ(common::readRegularFile(path("none/deeper"), read), FileRead::Missing);
    EXPECT_TRUE(common::openRegularFile(path("none")).missing);
    EXPECT_EQ(common::readRegularFile(folder_.path().string(), read), FileRead::Refused);
    EXPECT_FALSE(common::openRegularFile(folder_.path().string()).missing);
#ifndef _WIN32
    write("file", "x");
    EXPECT_EQ(common::readRegularFile(path("file/below"), read), FileRead::Refused);
#endif
}

TEST_F(RegularFileTest, NewFileOnlyUnderAFreeName) {
    common::CreatedFile created =
        common::createNewFile(path("new"), common::NewFilePermissions::AsUmaskAllows);
    ASSERT_TRUE(created.file);
    std::fputs("a\n", created.file.get());
    created.file.reset();
    std::string read;
    ASSERT_EQ(common::readRegularFile(path("new"), read), FileRead::Read);
    EXPECT_EQ(read, "a\n");  // binary: no CR added

    created = common::createNewFile(path("new"), common::NewFilePermissions::AsUmaskAllows);
    EXPECT_TRUE(created.file == nullptr && created.nameTaken);
    created = common::createNewFile(path("none/new"), common::NewFilePermissions::OwnerOnly);
    EXPECT_TRUE(created.file == nullptr && !created.nameTaken);
#ifndef _WIN32
    // A link's name is taken, wherever it leads; its target stays untouched.
    fs::create_symlink("new", path("link"));
    fs::create_symlink("gone", path("dangling"));
    for (const char* name : {"link", "dangling"}) {
        created = common::createNewFile(path(name), common::NewFilePermissions::OwnerOnly);
        EXPECT_TRUE(created.file == nullptr && created.nameTaken) << name;
    }
    EXPECT_FALSE(fs::exists(path("gone")));
    ASSERT_TRUE(common::createNewFile(path("private"), common::NewFilePermissions::OwnerOnly).file);
    EXPECT_EQ(fs::status(path("private")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
#else
    // A device's name is taken in every folder: nothing is written to the
    // device as if it were the new file.
    for (const char* name : {"nul.txt", "NUL", "con.h", "COM1.c", "Aux.H"}) {
        created = common::createNewFile(path(name), common::NewFilePermissions::OwnerOnly);
        EXPECT_TRUE(created.file == nullptr && created.nameTaken) << name;
    }
#endif
}

void expectRefused(const std::string& path) {
    std::string read;
    EXPECT_EQ(common::readRegularFile(path, read), FileRead::Refused) << path;
    const common::OpenedFile opened = common::openRegularFile(path);
    EXPECT_TRUE(opened.file == nullptr && !opened.missing) << path;
}

// A link is refused as an entry of its own, even when it leads to a good
// file or nowhere; a FIFO is refused without waiting for a writer. Windows'
// FIFO is a named pipe, and its devices have names that stand for them in
// every folder, in either letter case and with any extension, also where a
// real file has that name.
TEST_F(RegularFileTest, LinksAndFifosAreRefused) {
#ifdef _WIN32
    const std::string pipe = "vantor-regularfile-" + std::to_string(GetCurrentProcessId());
    HANDLE server = CreateNamedPipeA(("\\\\.\\pipe\\" + pipe).c_str(), PIPE_ACCESS_DUPLEX,
                                     PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    for (const char* name : {"con.h", "NUL", "COM1.c", "nul.txt"}) {
        WriteUnderDeviceName(path(name), "text");
    }
    for (const std::string name : {"con.h", "CON.H", "NUL", "nul", "COM1.c", "com1.C", "nul.txt",
                                   "Aux.H", "lpt1", "conin$"}) {
        expectRefused(path(name));
    }
    for (const std::string& pipePath :
         {"\\\\.\\pipe\\" + pipe, "\\\\?\\pipe\\" + pipe, "//./pipe/" + pipe}) {
        expectRefused(pipePath);
    }
    expectRefused("NUL");
    CloseHandle(server);
#else
    write("good", "text");
    fs::create_symlink("good", path("link"));
    fs::create_symlink("gone", path("dangling"));
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    for (const char* name : {"link", "dangling", "fifo"}) expectRefused(path(name));
    expectRefused("/dev/null");
#endif
}

TEST_F(RegularFileTest, OnlyTheRegularFileIsEverOpened) {
#ifdef _WIN32
    // COM9 leads to the watch's pipe: an open of any of its names connects.
    write("good", "text");
    WriteUnderDeviceName(path("com9.c"), "text");
    DeviceWatch watch("COM9");
    std::string read;
    for (const std::string& name :
         {path("com9.c"), path("COM9.H"), path("Com9"), std::string("COM9"),
          std::string("\\\\?\\COM9"), std::string("\\\\.\\COM9")}) {
        EXPECT_EQ(common::readRegularFile(name, read), FileRead::Refused) << name;
        EXPECT_FALSE(watch.opened()) << name;
    }
    EXPECT_EQ(common::readRegularFile(path("good"), read), FileRead::Read);
    // The watch sees what does open the name.
    HANDLE device = CreateFileA(path("com9.c").c_str(), 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(watch.opened());
    if (device != INVALID_HANDLE_VALUE) CloseHandle(device);
#elif !defined(__linux__)
    GTEST_SKIP() << "which files were opened is watched with inotify";
#else
    write("good", "text");
    fs::create_symlink("good", path("link"));
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    OpenWatch watch(folder_.path());
    std::string read;
    common::readRegularFile(path("link"), read);
    common::readRegularFile(path("fifo"), read);
    EXPECT_EQ(watch.opened(), std::set<std::string>{});
    EXPECT_EQ(common::readRegularFile(path("good"), read), FileRead::Read);
    EXPECT_EQ(watch.opened(), std::set<std::string>{"good"});
#endif
}

}  // namespace

namespace {

std::string readToTheEnd(common::InputFile& file) {
    std::string content;
    char chunk[7];  // reads shorter than the file
    while (const std::size_t got = file.read(chunk, sizeof chunk)) content.append(chunk, got);
    return content;
}

// What is read is the file as it is at the reads, grown or cut since it
// was opened (where others may write it meanwhile); its end is its end
// then, with no read failing.
TEST_F(RegularFileTest, InputFileReadsTheFileAsItIsWhenRead) {
    const std::string content = "first part\nsecond part\n";
    common::OpenedInput opened = common::openRegularInput(write("whole", content));
    ASSERT_TRUE(opened.file.isOpen());
    EXPECT_EQ(readToTheEnd(opened.file), content);
    EXPECT_FALSE(opened.file.failed());
    char byte;
    EXPECT_EQ(opened.file.read(&byte, 1), 0u);
#ifndef _WIN32
    opened = common::openRegularInput(write("grows", "first part\n"));
    ASSERT_TRUE(opened.file.isOpen());
    std::ofstream(path("grows"), std::ios::binary | std::ios::app) << "second part\n";
    EXPECT_EQ(readToTheEnd(opened.file), content);

    opened = common::openRegularInput(write("shrinks", content));
    ASSERT_TRUE(opened.file.isOpen());
    fs::resize_file(path("shrinks"), 6);
    EXPECT_EQ(readToTheEnd(opened.file), "first ");
    EXPECT_FALSE(opened.file.failed());
#endif

    opened = common::openRegularInput(write("empty", ""));
    ASSERT_TRUE(opened.file.isOpen());
    EXPECT_EQ(readToTheEnd(opened.file), "");

    opened = common::openRegularInput(path("none"));
    EXPECT_TRUE(!opened.file.isOpen() && opened.missing);
    EXPECT_EQ(opened.file.read(&byte, 1), 0u);
}

}  // namespace
