#include "dospath.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "tempfolder.h"

using common::CodePage;

namespace {
// "表" in Shift-JIS is 0x95 0x5C: its trail byte is the backslash code.
const std::string kHyo = "\x95\x5C";
// "ソ" in Shift-JIS is 0x83 0x5C.
const std::string kSo = "\x83\x5C";
}  // namespace

TEST(DosPath, FolderPartKeepsRootsAndDropsFinalSeparator) {
    const auto cp = CodePage::ShiftJis;
    EXPECT_EQ(common::folderPart("c:\\proj\\makefile", cp), "c:\\proj");
    EXPECT_EQ(common::folderPart("c:\\makefile", cp), "c:\\");
    EXPECT_EQ(common::folderPart("c:makefile", cp), "c:");
    EXPECT_EQ(common::folderPart("\\makefile", cp), "\\");
    EXPECT_EQ(common::folderPart("\\\\server\\share\\makefile", cp), "\\\\server\\share");
    EXPECT_EQ(common::folderPart("makefile", cp), "");
    EXPECT_EQ(common::folderPart("/home/user/proj/makefile", cp), "/home/user/proj");
    EXPECT_EQ(common::folderPart("/makefile", cp), "/");
}

TEST(DosPath, TrailByteBackslashIsNoSeparator) {
    const std::string dir = "c:\\" + kHyo;  // c:\表
    EXPECT_EQ(common::folderPart(dir + "\\makefile", CodePage::ShiftJis), dir);
    EXPECT_EQ(common::fileNamePart(dir + "\\makefile", CodePage::ShiftJis), "makefile");
    // The file name itself ends in a trail byte 0x5C: still no separator.
    EXPECT_EQ(common::folderPart("c:\\p\\" + kSo, CodePage::ShiftJis), "c:\\p");
    EXPECT_EQ(common::fileNamePart("c:\\p\\" + kSo, CodePage::ShiftJis), kSo);
    // A separator right after a double-byte character whose trail byte is 0x5C
    // does not follow "another backslash": it is dropped as usual.
    EXPECT_EQ(common::folderPart("c:\\" + kSo + "\\x", CodePage::ShiftJis), "c:\\" + kSo);
    // Read as UTF-8 the same bytes hold a real backslash.
    EXPECT_EQ(common::fileNamePart("a\\" + kSo, CodePage::Utf8), "");
}

TEST(DosPath, ALeadByteWithoutItsTrailByteTakesNoSeparatorAlong) {
    const std::string folder = "/w/sdfo\\\x83";
    EXPECT_EQ(common::fileNamePart(folder + "/makefile", CodePage::ShiftJis), "makefile");
    EXPECT_EQ(common::folderPart(folder + "/makefile", CodePage::ShiftJis), folder);
    EXPECT_EQ(common::fileNamePart("c:\\\x83:x", CodePage::ShiftJis), "x");
}

TEST(DosPath, FileNamePart) {
    EXPECT_EQ(common::fileNamePart("c:\\proj\\prog.exe", CodePage::Utf8), "prog.exe");
    EXPECT_EQ(common::fileNamePart("c:prog.exe", CodePage::Utf8), "prog.exe");
    EXPECT_EQ(common::fileNamePart("prog.exe", CodePage::Utf8), "prog.exe");
    EXPECT_EQ(common::fileNamePart("dir/", CodePage::Utf8), "");
}

TEST(DosPath, AnySeparatorTurnsOnlyRealBackslashes) {
    EXPECT_EQ(common::withSeparator("..\\header\\defs.h", '/', CodePage::Utf8), "../header/defs.h");
    EXPECT_EQ(common::withSeparator("sub\\" + kHyo + "\\x.h", '/', CodePage::ShiftJis),
              "sub/" + kHyo + "/x.h");
}

// On Windows "\\" is the system's own separator: a path stays as written.
TEST(DosPath, NativePathTurnsOnlyRealBackslashes) {
#ifdef _WIN32
    EXPECT_EQ(common::nativePath("..\\header\\defs.h", CodePage::Utf8), "..\\header\\defs.h");
    EXPECT_EQ(common::nativePath("sub\\" + kHyo + "\\x.h", CodePage::ShiftJis),
              "sub\\" + kHyo + "\\x.h");
#else
    EXPECT_EQ(common::nativePath("..\\header\\defs.h", CodePage::Utf8), "../header/defs.h");
    EXPECT_EQ(common::nativePath("sub\\" + kHyo + "\\x.h", CodePage::ShiftJis),
              "sub/" + kHyo + "/x.h");
#endif
}

TEST(DosPath, ReplaceExtensionInTheLastComponent) {
    const CodePage u = CodePage::Utf8;
    EXPECT_EQ(common::replaceExtension("main.c", "obj", u), "main.obj");
    EXPECT_EQ(common::replaceExtension("a.b.cpp", "o", u), "a.b.o");
    EXPECT_EQ(common::replaceExtension("prog", "obj", u), "prog.obj");
    EXPECT_EQ(common::replaceExtension("dir.x\\prog", "obj", u), "dir.x\\prog.obj");
    EXPECT_EQ(common::replaceExtension("dir.x/prog", "c", u), "dir.x/prog.c");
    EXPECT_EQ(common::replaceExtension("main.", "obj", u), "main.obj");
}

TEST(DosPath, JoinAndExtensionsPassOverShiftJisTrailBytes) {
    // 0x95 0x5C is one double-byte character whose trail byte is "\".
    const CodePage sjis = CodePage::ShiftJis;
    EXPECT_FALSE(common::endsWithSeparator("inc" + kHyo, sjis));
    EXPECT_TRUE(common::endsWithSeparator("inc" + kHyo, CodePage::Utf8));
    EXPECT_EQ(common::joinFolder("inc" + kHyo, "x.h", sjis), "inc" + kHyo + "\\x.h");
    EXPECT_EQ(common::replaceExtension("a.b" + kHyo + "c", "obj", sjis), "a.obj");

    EXPECT_EQ(common::joinFolder("..\\inc\\", "x.h", sjis), "..\\inc\\x.h");
    EXPECT_EQ(common::joinFolder("../inc/", "x.h", sjis), "../inc/x.h");
    EXPECT_EQ(common::joinFolder("c:", "x.h", sjis), "c:x.h");
    EXPECT_EQ(common::joinFolder("inc", "sub\\x.h", sjis), "inc\\sub\\x.h");
    EXPECT_EQ(common::joinFolder("inc", "x.h", sjis, '/'), "inc/x.h");
    EXPECT_EQ(common::joinFolder("inc" + kHyo, "x.h", sjis, '/'), "inc" + kHyo + "/x.h");
}

TEST(DosPath, AnExtensionIsADotInTheLastComponent) {
    const CodePage sjis = CodePage::ShiftJis;
    for (const char* with : {"PROG.EXE", "A.B\\PROG.", "C:\\BIN\\X.BAT", "c:x.com"})
        EXPECT_TRUE(common::hasExtension(with, sjis)) << with;
    for (const char* without : {"PROG", "A.B\\PROG", "A.B/PROG", ""})
        EXPECT_FALSE(common::hasExtension(without, sjis)) << without;
    // The dot before a trail byte 0x5C is still in the last component.
    EXPECT_TRUE(common::hasExtension("A." + kHyo, sjis));
    EXPECT_FALSE(common::hasExtension("A." + kHyo, CodePage::Utf8));
}

TEST(DosPath, AbsolutePathsStartAtARootOrWithADriveLetter) {
    for (const char* absolute : {"\\OUT", "/OUT", "C:\\OUT", "c:out", "z:"})
        EXPECT_TRUE(common::isAbsoluteDosPath(absolute)) << absolute;
    // A drive names a letter; anything else before ":" leaves the path relative.
    for (const char* relative : {"", "OUT", "..\\OUT", "1:OUT", "CD:OUT", ":x"})
        EXPECT_FALSE(common::isAbsoluteDosPath(relative)) << relative;
    EXPECT_TRUE(common::hasDrivePrefix("1:OUT"));
    EXPECT_FALSE(common::hasDrivePrefix("C"));
}

TEST(DosPath, RelativeValuesJoinTheFolder) {
    const std::string sep(1, common::kNativeSeparator);
    EXPECT_EQ(common::pathInFolder("/w/hello", "obj"), "/w/hello" + sep + "obj");
    EXPECT_EQ(common::pathInFolder("C:\\WORK\\HELLO", "obj"), "C:\\WORK\\HELLO" + sep + "obj");
    EXPECT_EQ(common::pathInFolder("/w/hello", "..\\obj"), "/w/hello" + sep + "..\\obj");
    for (const char* absolute : {"C:\\OUT", "c:out", "\\OUT", "/OUT"}) {
        EXPECT_EQ(common::pathInFolder("/w/hello", absolute), absolute);
    }
    EXPECT_EQ(common::pathInFolder("", "obj"), "obj");
    EXPECT_EQ(common::pathInFolder("/w/hello", "."), "");
    EXPECT_EQ(common::pathInFolder("/w/hello", ""), "");
    EXPECT_EQ(common::pathInFolder("/w/hello", "./obj"), "/w/hello" + sep + "./obj");
}

TEST(DosPath, NamesLeaveOutEmptyOnesAndKeepDoubleByteCharactersWhole) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(common::dosPathNames("\\SRC//LIB\\", CodePage::Utf8), (Names{"SRC", "LIB"}));
    EXPECT_EQ(common::dosPathNames("..\\.\\X.C", CodePage::Utf8), (Names{"..", ".", "X.C"}));
    EXPECT_EQ(common::dosPathNames("C:X", CodePage::Utf8), (Names{"C:X"}));
    EXPECT_EQ(common::dosPathNames("", CodePage::Utf8), Names{});
    EXPECT_EQ(common::dosPathNames(kHyo + "\\A", CodePage::ShiftJis), (Names{kHyo, "A"}));
    EXPECT_EQ(common::dosPathNames(kHyo + "\\A", CodePage::Utf8), (Names{"\x95", "A"}));
}

TEST(DosPath, DotFoldersGoByTheNames) {
    const auto resolved = [](std::string_view path) {
        return common::withoutDotFolders(path, CodePage::ShiftJis);
    };
    EXPECT_EQ(resolved("a/b/../../x.h"), "x.h");
    EXPECT_EQ(resolved(".\\a\\.\\..\\..\\inc\\x.h"), "..\\inc\\x.h");
    EXPECT_EQ(resolved("\\..\\x.h"), "\\x.h");
    EXPECT_EQ(resolved("c:a\\..\\x.h"), "c:x.h");
    EXPECT_EQ(resolved("C:\\A\\..\\..\\X"), "C:\\X");
    EXPECT_EQ(resolved(kHyo + "\\..\\x.h"), "x.h");  // 表's 0x5C separates nothing
    EXPECT_EQ(resolved(kHyo + "..\\x.h"), kHyo + "..\\x.h");
}

TEST(DosPath, AnEntryIsFoundInAnyLetterCaseTheExactNameFirst) {
    namespace fs = std::filesystem;
    TempFolder folder;
    std::ofstream(folder.path() / "Hello.c") << "x";
    const auto entry = [&](const std::string& name, bool passOverLinks) {
        return common::EntryIgnoringCase(folder.path(), name, CodePage::Utf8, passOverLinks);
    };
    std::error_code error;
    EXPECT_TRUE(fs::equivalent(entry("HELLO.C", false).value(), folder.path() / "Hello.c", error));
    EXPECT_EQ(entry("Hello.c", true), folder.path() / "Hello.c");
    EXPECT_FALSE(entry("HELLO.H", false));
    EXPECT_EQ(entry("..", true), folder.path() / "..");
#ifndef _WIN32
    // A name not written exactly finds its entry by the letters alone.
    EXPECT_EQ(entry("HELLO.C", false), folder.path() / "Hello.c");
    fs::create_symlink("Hello.c", folder.path() / "Link.c");
    EXPECT_EQ(entry("LINK.C", false), folder.path() / "Link.c");
    EXPECT_EQ(entry("Link.c", false), folder.path() / "Link.c");
    EXPECT_FALSE(entry("Link.c", true));
    EXPECT_FALSE(entry("LINK.C", true));
#endif
}
