#include "regularfile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#ifndef _WIN32
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
#endif
}

#ifndef _WIN32
// A link is refused as an entry of its own, even when it leads to a good
// file or nowhere; a FIFO is refused without waiting for a writer.
TEST_F(RegularFileTest, LinksAndFifosAreRefused) {
    write("good", "text");
    fs::create_symlink("good", path("link"));
    fs::create_symlink("gone", path("dangling"));
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    std::string read;
    for (const char* name : {"link", "dangling", "fifo"}) {
        EXPECT_EQ(common::readRegularFile(path(name), read), FileRead::Refused) << name;
        const common::OpenedFile opened = common::openRegularFile(path(name));
        EXPECT_TRUE(opened.file == nullptr && !opened.missing) << name;
    }
    EXPECT_EQ(common::readRegularFile("/dev/null", read), FileRead::Refused);
}
#endif

#ifdef __linux__
TEST_F(RegularFileTest, OnlyTheRegularFileIsEverOpened) {
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
}
#endif

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
