// Following make through a recursive build: a real make over three folders
// with a broken C file in each, and make's lines in their other wordings;
// the file a message names, also when written the DOS way.
#include "makedirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "commandoutput.h"
#include "messageline.h"
#include "tempfolder.h"

namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

std::vector<std::string> feedAll(MakeDirectoryTracker& tracker,
                                 const std::vector<std::string>& lines) {
    std::vector<std::string> folders;
    for (const auto& line : lines) {
        tracker.feed(line);
        folders.push_back(tracker.current());
    }
    return folders;
}

TEST(MakeDirectory, ARealRecursiveMakeOpensEachMessageInItsFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "runs GNU make through a POSIX shell";
#endif
    TempFolder folder;
    const fs::path top = fs::canonical(folder.path());
    // Each folder's makefile first descends, then compiles its own broken
    // file (the "-" keeps make going), so messages of an outer folder come
    // after an inner folder was left.
    const auto makefile = [](const std::string& sub, const std::string& source) {
        std::string text = "all:\n";
        if (!sub.empty()) text += "\t$(MAKE) -C " + sub + "\n";
        return text + "\t-gcc -fdiagnostics-color=never -c " + source + "\n";
    };
    writeFile(top / "makefile", makefile("sub", "top.c"));
    writeFile(top / "sub" / "makefile", makefile("deeper", "mid.c"));
    writeFile(top / "sub" / "deeper" / "makefile", makefile("", "deep.c"));
    for (const auto& source :
         {top / "top.c", top / "sub" / "mid.c", top / "sub" / "deeper" / "deep.c"})
        writeFile(source, "int f(void) { return missing; }\n");

    const auto lines = CommandOutputLines("cd '" + top.string() +
                                          "' && env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL LC_ALL=C "
                                          "make 2>&1");
    MakeDirectoryTracker tracker;
    OutputLineReader reader(BuiltInMessageReader(common::CodePage::Utf8));
    std::map<std::string, fs::path> opened;  // file name in the message -> the file opened
    for (const auto& line : lines) {
        const std::string folderBefore = tracker.current();
        tracker.feed(line);
        const OutputLine read = reader.read(line);
        if (!read.message || !LeadsToFile(*read.message)) continue;
        EXPECT_EQ(tracker.current(), folderBefore) << "a message moved the folder: " << line;
        EXPECT_EQ(read.message->directory, tracker.current()) << line;
        // Without a make folder the project folder is the working folder.
        opened[read.message->file] = top / ResolveMessageFile(*read.message, top.string());
    }
    std::string written;
    for (const auto& line : lines) written += line + "\n";
    ASSERT_EQ(opened.size(), 3u) << "make wrote:\n" << written;
    EXPECT_EQ(opened["top.c"], top / "top.c");
    EXPECT_EQ(opened["mid.c"], top / "sub" / "mid.c");
    EXPECT_EQ(opened["deep.c"], top / "sub" / "deeper" / "deep.c");
    for (const auto& [name, path] : opened) EXPECT_TRUE(fs::is_regular_file(path)) << path;
    EXPECT_EQ(tracker.current(), "");  // every folder entered was left

    OutputLineReader again(BuiltInMessageReader(common::CodePage::Utf8));
    for (const auto& line : lines) {
        const OutputLine read = again.read(line);
        if (line.starts_with("deep.c:") && read.message) {
            EXPECT_EQ(read.message->directory, (top / "sub" / "deeper").string());
        }
    }
}

TEST(MakeDirectory, EveryWordingOfMakesLines) {
    MakeDirectoryTracker tracker;
    const std::vector<std::string> lines = {
        "make: Entering directory '/p'",
        "gmake[1]: Entering directory `/p/old style'",
        "/usr/bin/make[2]: Entering directory '/p/it's here'",
        "mingw32-make.exe[3]: Entering directory 'C:/p/win'",
        "mingw32-make.exe[3]: Leaving directory 'C:/p/win'",
        "make[2]: Leaving directory '/p/it's here'",
        "make[1]: ディレクトリ '/p/和文'\u3000に入ります",
        "make[2]: ディレクトリ '/p/和文/下' に入ります",
        "make[2]: ディレクトリ '/p/和文/下' から出ます",
        "make[1]: Entering an unknown directory",
    };
    EXPECT_EQ(
        feedAll(tracker, lines),
        (std::vector<std::string>{"/p", "/p/old style", "/p/it's here", "C:/p/win", "/p/it's here",
                                  "/p/old style", "/p/和文", "/p/和文/下", "/p/和文", ""}));
    tracker.feed("make[1]: Leaving an unknown directory");
    EXPECT_EQ(tracker.current(), "/p/和文");
    tracker.feed("make[1]: ディレクトリ(ディレクトリ名不明)に入ります");
    EXPECT_EQ(tracker.current(), "");
    tracker.feed("make[1]: ディレクトリ(ディレクトリ名不明)から出ます");
    EXPECT_EQ(tracker.current(), "/p/和文");
}

TEST(MakeDirectory, LeavingAndForgetting) {
    MakeDirectoryTracker tracker;
    feedAll(tracker, {"make: Entering directory '/a'", "make[1]: Entering directory '/a/b'",
                      "make[2]: Entering directory '/a/b/c'"});
    // A folder never entered is no way out; leaving an outer one leaves the
    // inner ones whose own leaving line never came.
    tracker.feed("make[9]: Leaving directory '/elsewhere'");
    EXPECT_EQ(tracker.current(), "/a/b/c");
    tracker.feed("make[1]: Leaving directory '/a/b'");
    EXPECT_EQ(tracker.current(), "/a");
    // A child that prints a summary line's text moves nothing: one tracker
    // follows one run, so a stopped make leaves nothing to the next.
    tracker.feed("make[1]: Entering directory '/a/b'");
    tracker.feed("Build Error (2).");
    EXPECT_EQ(tracker.current(), "/a/b");
}

TEST(MakeDirectory, LookAlikesChangeNothing) {
    MakeDirectoryTracker tracker;
    tracker.feed("make: Entering directory '/kept'");
    for (const char* line : {"cc: Entering directory '/x'", "echo make: Entering directory '/x'",
                             "make: Entering directory '/x' now", "make: Entering directory /x",
                             "make[a]: Entering directory '/x'", "make[]: Entering directory '/x'",
                             "make:Entering directory '/x'", "make: entering directory '/x'",
                             "make: Entering directory '", "remake: Leaving directory '/y'",
                             "make: ディレクトリ '/x' に入りません"}) {
        tracker.feed(line);
        EXPECT_EQ(tracker.current(), "/kept") << line;
    }
}

MessageReading messageIn(const std::string& file, const std::string& directory) {
    MessageReading message;
    message.file = file;
    message.directory = directory;
    return message;
}

TEST(MakeDirectory, RelativeNamesGoUnderTheFolder) {
    const std::string sep(1, fs::path::preferred_separator);
    // Make's folder first, the project folder without one.
    EXPECT_EQ(ResolveMessageFile(messageIn("x.c", "/p/sub"), "/p"), "/p/sub" + sep + "x.c");
    EXPECT_EQ(ResolveMessageFile(messageIn("x.c", ""), "/p"), "x.c");
    EXPECT_EQ(ResolveMessageFile(messageIn("../inc/x.h", "/p/sub"), ""),
              "/p/sub" + sep + "../inc/x.h");
    EXPECT_EQ(ResolveMessageFile(messageIn("/usr/include/stdio.h", "/p/sub"), "/p"),
              "/usr/include/stdio.h");
    EXPECT_EQ(ResolveMessageFile(messageIn("C:\\src\\x.c", "/p/sub"), "/p"), "C:\\src\\x.c");
    EXPECT_EQ(ResolveMessageFile(messageIn("x.c", ""), ""), "x.c");
}

// Names in DOS form on a file system that tells letter cases apart. On
// Windows, which does not, the name as written is the file.
TEST(MakeDirectory, DosNamesFindTheirFiles) {
    TempFolder folder;
    const fs::path top = folder.path();
    writeFile(top / "src" / "hello.c", "int x;\n");
    writeFile(top / "sub" / "Inc" / "Defs.H", "\n");
    writeFile(top / "elsewhere" / "secret.c", "\n");
#ifndef _WIN32
    fs::create_directory_symlink(top / "elsewhere", top / "linked");
#endif
    const std::string project = top.string();
#ifdef _WIN32
    // What the editor opens, its working folder the project folder.
    const auto opens = [&](const MessageReading& message, const fs::path& file) {
        const fs::path name = ResolveMessageFile(message, project);
        std::error_code error;
        return fs::equivalent(name.is_absolute() ? name : top / name, file, error);
    };
    const fs::path hello = top / "src" / "hello.c";
    EXPECT_EQ(ResolveMessageFile(messageIn("SRC\\HELLO.C", ""), project), "SRC\\HELLO.C");
    EXPECT_TRUE(opens(messageIn("SRC\\HELLO.C", ""), hello));
    EXPECT_TRUE(
        opens(messageIn("INC\\defs.h", (top / "sub").string()), top / "sub" / "Inc" / "Defs.H"));
    EXPECT_TRUE(opens(messageIn("..\\SRC\\Hello.c", (top / "sub").string()), hello));
    EXPECT_TRUE(opens(messageIn((top / "SRC").string() + "\\HELLO.C", ""), hello));
    EXPECT_EQ(ResolveMessageFile(messageIn("SRC\\MISSING.C", ""), project), "SRC\\MISSING.C");
    EXPECT_EQ(ResolveMessageFile(messageIn("MISSING.C", (top / "sub").string()), project),
              (top / "sub").string() + "\\MISSING.C");
#else
    // Letters in any case, "\" as a separator, from the project folder
    // (and relative to it, the editor's working folder).
    EXPECT_EQ(ResolveMessageFile(messageIn("SRC\\HELLO.C", ""), project), "src/hello.c");
    // From the folder make reported, up and down again.
    EXPECT_EQ(ResolveMessageFile(messageIn("INC\\defs.h", (top / "sub").string()), project),
              (top / "sub" / "Inc" / "Defs.H").string());
    EXPECT_EQ(ResolveMessageFile(messageIn("..\\SRC\\Hello.c", (top / "sub").string()), project),
              (top / "sub" / ".." / "src" / "hello.c").string());
    // An absolute name in DOS form.
    EXPECT_EQ(ResolveMessageFile(messageIn((top / "SRC").string() + "\\HELLO.C", ""), ""),
              (top / "src" / "hello.c").string());
    // A name that exists as written is taken as written.
    EXPECT_EQ(ResolveMessageFile(messageIn("src/hello.c", ""), project), "src/hello.c");
    EXPECT_EQ(ResolveMessageFile(messageIn("hello.c", (top / "src").string()), project),
              (top / "src").string() + "/hello.c");
    // Nothing of that name, or only through a link: the name as written.
    EXPECT_EQ(ResolveMessageFile(messageIn("SRC\\MISSING.C", ""), project), "SRC\\MISSING.C");
    EXPECT_EQ(ResolveMessageFile(messageIn("LINKED\\SECRET.C", ""), project), "LINKED\\SECRET.C");
    EXPECT_EQ(ResolveMessageFile(messageIn("MISSING.C", (top / "sub").string()), project),
              (top / "sub").string() + "/MISSING.C");
#endif
}

}  // namespace
