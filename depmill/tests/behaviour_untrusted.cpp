// The real depmill in a project folder that may hold anything: pipes,
// sockets, links and unreadable files under the names it reads or writes,
// a makefile spelt "Makefile", inputs larger than the memory it may use.
// On Windows: names that stand for a device in every folder, folders, and
// files another program holds open without sharing them.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#endif

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "depmill_run.h"
#include "devicenames.h"
#include "heldfile.h"
#include "openwatch.h"
#include "sanitized.h"
#include "userlink.h"

namespace depmill_test {
namespace {

#ifndef _WIN32
void makeFifo(const Sandbox& sb, const std::string& rel) {
    ASSERT_EQ(mkfifo(sb.path(rel).c_str(), 0644), 0) << rel;
}

void makeSocket(const Sandbox& sb, const std::string& rel) {
    const std::string path = sb.path(rel).string();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    const int bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    close(fd);
    ASSERT_EQ(bound, 0) << rel;
}
#endif

const std::string kPrevious =
    "CC\t= cl\nHDRPATH\t= ../inc\nPROGRAM\t= prog.exe\n\nall: $(PROGRAM)\n";

// A run that stopped at the previous makefile: one message, status 2,
// nothing in the folder changed.
void expectStoppedAtTheMakefile(const Sandbox& sb, const RunResult& run,
                                const std::set<std::string>& entries) {
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Depmill: can't open Makefile\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(entriesOf(sb), entries);
}

// Whatever "makefile" names, it is read (or moved aside) only as a regular
// file; anything else stops the run before anything is changed, also with
// -U, which reads nothing but would move it. On Windows no pipe lives in a
// folder and no device is called "makefile".
TEST(UntrustedFolder, MakefileThatIsNoRegularFileStopsTheRun) {
#ifdef _WIN32
    const std::vector<std::string> kinds = {"folder"};
#else
    const std::vector<std::string> kinds = {"folder", "pipe", "socket", "link"};
#endif
    for (const std::string& kind : kinds) {
        for (bool ignoreOld : {false, true}) {
            SCOPED_TRACE(kind + (ignoreOld ? " with -U" : ""));
            Sandbox sb;
            sb.write("main.c", "");
            sb.write("../elsewhere", kPrevious);
            if (kind == "folder") sb.write("makefile/keep", "kept\n");
#ifndef _WIN32
            if (kind == "pipe") makeFifo(sb, "makefile");
            if (kind == "socket") makeSocket(sb, "makefile");
            if (kind == "link")
                std::filesystem::create_symlink("../elsewhere", sb.path("makefile"));
#endif
            const RunResult run =
                sb.run(ignoreOld ? std::vector<std::string>{"-U"} : std::vector<std::string>{});
            expectStoppedAtTheMakefile(sb, run, {"main.c", "makefile"});
            EXPECT_EQ(sb.read("../elsewhere"), kPrevious);
            if (kind == "folder") {
                EXPECT_EQ(sb.read("makefile/keep"), "kept\n");
            }
            if (kind == "link") {
                EXPECT_TRUE(std::filesystem::is_symlink(sb.path("makefile")));
            }
        }
    }
}

// A makefile that is there but may not be read is not replaced unread,
// also with -U, which would not read it but would move it. On Windows it is
// one that another program holds open without sharing it.
TEST(UntrustedFolder, UnreadableMakefileStopsTheRun) {
    for (bool ignoreOld : {false, true}) {
        SCOPED_TRACE(ignoreOld ? "with -U" : "without -U");
        Sandbox sb;
        sb.write("main.c", "");
        sb.write("makefile", kPrevious);
        const std::vector<std::string> args =
            ignoreOld ? std::vector<std::string>{"-U"} : std::vector<std::string>{};
#ifdef _WIN32
        const RunResult run = [&] {
            const HeldFile held(sb.path("makefile"));
            return sb.run(args);
        }();
#else
        std::filesystem::permissions(sb.path("makefile"), std::filesystem::perms::none);
        const RunResult run = sb.run(RunSettings{.args = args, .withoutReadOverride = true});
        if (run.status == kNoDroppedRights)
            GTEST_SKIP() << "root's right to read any file cannot be dropped here";
#endif
        expectStoppedAtTheMakefile(sb, run, {"main.c", "makefile"});
#ifndef _WIN32
        std::filesystem::permissions(sb.path("makefile"), std::filesystem::perms::owner_read);
#endif
        EXPECT_EQ(sb.makefile(), kPrevious);
    }
}

// Sources and headers that are pipes, sockets or links to devices are
// reported like files that do not open or are not there; the run does not
// wait on them and writes the makefile. On Windows they are files under
// names that stand for a device in every folder (in either letter case,
// with an extension), folders, and files another program holds.
TEST(UntrustedFolder, PipesSocketsAndDevicesAreNoInputs) {
    Sandbox sb;
#ifdef _WIN32
    for (const char* name : {"COM1.c", "con.C", "con.h", "NUL", "nul.txt", "Aux.H"}) {
        WriteUnderDeviceName(sb.path(name), "#include \"ok.h\"\n");
    }
    sb.write("c.c", lines({"#include \"con.h\"", "#include \"CON.H\"", "#include \"NUL\"",
                           "#include \"nul.txt\"", "#include \"Aux.H\"", "#include \"folder.h\"",
                           "#include \"held.h\"", "#include \"ok.h\""}));
    std::filesystem::create_directory(sb.path("main.c"));
    std::filesystem::create_directory(sb.path("folder.h"));
    sb.write("held.c", "#include \"ok.h\"\n");
    sb.write("held.h", "");
    sb.write("ok.h", "");
    const HeldFile heldSource(sb.path("held.c"));
    const HeldFile heldHeader(sb.path("held.h"));
    const RunResult run = sb.run();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              lines({"Depmill: can't open COM1.c", "Depmill: can't find con.h (in c.c)",
                     "Depmill: can't find CON.H (in c.c)", "Depmill: can't find NUL (in c.c)",
                     "Depmill: can't find nul.txt (in c.c)", "Depmill: can't find Aux.H (in c.c)",
                     "Depmill: can't find folder.h (in c.c)", "Depmill: can't find held.h (in c.c)",
                     "Depmill: can't open con.C", "Depmill: can't open held.c",
                     "Depmill: can't open main.c"}));
    const std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nOF1\t= COM1.obj c.obj con.obj held.obj main.obj\n"),
              std::string::npos)
        << makefile;
    const std::string rule = "c.obj: c.c con.h CON.H NUL nul.txt Aux.H folder.h held.h ok.h";
    EXPECT_EQ(blockFrom(makefile, rule), lines({rule, "\t$(CC) -c $(CFLAGS) c.c", ""}));
#else
    std::filesystem::create_symlink("/dev/zero", sb.path("a.c"));
    makeSocket(sb, "b.c");
    sb.write("c.c", lines({"#include \"pipe.h\"", "#include \"zero.h\"", "#include \"ok.h\""}));
    makeFifo(sb, "main.c");
    makeFifo(sb, "io.asm");
    makeFifo(sb, "pipe.h");
    std::filesystem::create_symlink("/dev/zero", sb.path("zero.h"));
    sb.write("ok.h", "");
    const RunResult run = sb.run();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              lines({"Depmill: can't open a.c", "Depmill: can't open b.c",
                     "Depmill: can't find pipe.h (in c.c)", "Depmill: can't find zero.h (in c.c)",
                     "Depmill: can't open main.c", "Depmill: can't open io.asm"}));
    const std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nOF1\t= a.obj b.obj c.obj main.obj io.obj\n"), std::string::npos)
        << makefile;
    EXPECT_EQ(blockFrom(makefile, "c.obj: c.c pipe.h zero.h ok.h"),
              lines({"c.obj: c.c pipe.h zero.h ok.h", "\t$(CC) -c $(CFLAGS) c.c", ""}));
#endif
}

// A FIFO or device among the sources or named by an include line is looked
// at, never opened: the open alone may act (a tape rewinds, a watchdog
// arms). The regular files beside them are opened as before. On Windows
// COM8 leads to the watch's pipe, and real files have its names.
TEST(UntrustedFolder, SpecialFilesAreNeverOpened) {
#ifdef _WIN32
    Sandbox sb;
    sb.write("c.c", lines({"#include \"com8.h\"", "#include \"ok.h\""}));
    sb.write("ok.h", "");
    for (const char* name : {"COM8.c", "com8.h", "Com8.asm"})
        WriteUnderDeviceName(sb.path(name), "");
    DeviceWatch watch("COM8");
    const RunResult run = sb.run();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, lines({"Depmill: can't open COM8.c", "Depmill: can't find com8.h (in c.c)",
                              "Depmill: can't open Com8.asm"}));
    EXPECT_FALSE(watch.opened());
#elif !defined(__linux__)
    GTEST_SKIP() << "which files were opened is watched with inotify";
#else
    Sandbox sb;
    sb.write("c.c", lines({"#include \"pipe.h\"", "#include \"ok.h\""}));
    sb.write("ok.h", "");
    makeFifo(sb, "main.c");
    makeFifo(sb, "io.asm");
    makeFifo(sb, "pipe.h");
    OpenWatch watch(sb.project());
    const RunResult run = sb.run();
    EXPECT_EQ(run.status, 0) << run.err;
    const std::set<std::string> opened = watch.opened();
    EXPECT_TRUE(opened.count("c.c") == 1 && opened.count("ok.h") == 1);
    for (const char* special : {"main.c", "io.asm", "pipe.h"})
        EXPECT_EQ(opened.count(special), 0u) << special;
#endif
}

// Names from the folder and from include lines, even commented-out ones,
// never make make or the shell run anything: a "$" of an include name is
// written "$$", and a name that cannot stand in a rule is left out with a
// warning while the run goes on.
TEST(UntrustedFolder, NamesNeverRunACommand) {
    Sandbox sb;
    sb.write("ok.c",
             lines({"/*", "#include \"$(shell touch PWNED)\"", "*/", "#include \"$(PWNED)x.h\"",
                    "#include \"x;touch PWNED\"", "#include \"ok.h\""}));
    sb.write("ok.h", "");
    sb.write("x$(touch${IFS}PWNED).c", "");
    sb.write("b c.c", "#include \"ok.h\"\n");
    const RunResult run = sb.run();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, lines({"Depmill: skipped b c.c: not usable in a makefile",
                              "Depmill: skipped x$(touch${IFS}PWNED).c: not usable in a makefile",
                              "Depmill: skipped $(shell touch PWNED): not usable in a makefile",
                              "Depmill: can't find $(PWNED)x.h (in ok.c)",
                              "Depmill: skipped x;touch PWNED: not usable in a makefile"}));
    const std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nOF1\t= ok.obj\n"), std::string::npos) << makefile;
    EXPECT_EQ(blockFrom(makefile, "ok.obj: ok.c $$(PWNED)x.h ok.h"),
              lines({"ok.obj: ok.c $$(PWNED)x.h ok.h", "\t$(CC) -c $(CFLAGS) ok.c", ""}));
#ifndef _WIN32
    EXPECT_EQ(runMake(sb, "-n clean"), 0);
#endif
    EXPECT_FALSE(sb.exists("PWNED"));
}

// The new makefile is made under a fresh name: a makefile.tmp of the user
// (a file, or a link to another file) stays as it was, and a makefile.old
// link is replaced by the backup, not written through. The links are the
// ones any user can make: symbolic links, hard links on Windows.
TEST(UntrustedFolder, NoLinkIsWrittenThroughAndNoFileOfTheUserTaken) {
    for (bool tmpIsLink : {true, false}) {
        SCOPED_TRACE(tmpIsLink ? "makefile.tmp is a link" : "makefile.tmp is a file");
        Sandbox sb;
        sb.write("main.c", "");
        sb.write("makefile", kPrevious);
        sb.write("../victim", "victim\n");
        sb.write("../other", "other\n");
        if (tmpIsLink)
            MakeUserLink(sb.path("../victim"), sb.path("makefile.tmp"));
        else
            sb.write("makefile.tmp", "mine\n");
        MakeUserLink(sb.path("../other"), sb.path("makefile.old"));
        const RunResult run = sb.run();
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(sb.read("../victim"), "victim\n");
        EXPECT_EQ(sb.read("../other"), "other\n");
        EXPECT_EQ(IsUserLinkTo(sb.path("makefile.tmp"), sb.path("../victim")), tmpIsLink);
        if (!tmpIsLink) {
            EXPECT_EQ(sb.read("makefile.tmp"), "mine\n");
        }
        EXPECT_FALSE(IsUserLinkTo(sb.path("makefile.old"), sb.path("../other")));
        EXPECT_EQ(sb.text("makefile.old"), kPrevious);
        EXPECT_TRUE(
            std::filesystem::is_regular_file(std::filesystem::symlink_status(sb.path("makefile"))));
        EXPECT_TRUE(headerFitsRun(sb.makefile(), run));
        EXPECT_EQ(entriesOf(sb),
                  (std::set<std::string>{"main.c", "makefile", "makefile.old", "makefile.tmp"}));
    }
}

// Where the file system tells "Makefile" from "makefile", a lone
// "Makefile" is the previous makefile: its HDRPATH and macros are kept and
// it becomes the backup. Beside a "makefile" it is left alone. On Windows
// the two are one name, so "Makefile" is always alone.
TEST(UntrustedFolder, LoneCapitalMakefileIsThePreviousOne) {
#ifdef _WIN32
    const std::vector<bool> cases = {false};
#else
    const std::vector<bool> cases = {false, true};
#endif
    for (bool both : cases) {
        SCOPED_TRACE(both ? "makefile and Makefile" : "Makefile alone");
        Sandbox sb;
        sb.write("main.c", "#include \"defs.h\"\n");
        sb.write("../inc/defs.h", "");
        sb.write("Makefile", kPrevious);
        const std::string lower = "CC\t= lcc\n\nall: x\n";
        if (both) sb.write("makefile", lower);
        const RunResult run = sb.run();
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const std::string makefile = sb.makefile();
        if (both) {
            EXPECT_EQ(run.out, "Depmill: can't find defs.h (in main.c)\n");
            EXPECT_NE(makefile.find("\nCC\t= lcc\n"), std::string::npos) << makefile;
            EXPECT_EQ(sb.text("makefile.old"), lower);
            EXPECT_EQ(sb.read("Makefile"), kPrevious);
        } else {
            EXPECT_EQ(run.out, "");
            EXPECT_NE(makefile.find("\nCC\t= cl\n"), std::string::npos) << makefile;
            EXPECT_NE(makefile.find("\nHDRPATH\t= ../inc\n"), std::string::npos);
            EXPECT_NE(makefile.find("\nPROGRAM\t= prog.exe\n"), std::string::npos);
            EXPECT_NE(makefile.find("\nmain.obj: main.c ../inc\\defs.h\n"), std::string::npos);
            EXPECT_EQ(sb.text("makefile.old"), kPrevious);
        }
        std::set<std::string> expected{"main.c", "makefile", "makefile.old"};
        if (both) expected.insert("Makefile");
        EXPECT_EQ(entriesOf(sb), expected);
    }
}

// Address space the program may use in the test below; its inputs need
// several times as much.
constexpr std::uint64_t kSmallMemory = 12 * 1024 * 1024;

// Memory that runs out ends the run with the message and status of the
// place where it happened; the previous makefile is untouched.
TEST(UntrustedFolder, RunningOutOfMemoryEndsWithAMessage) {
#ifdef _WIN32
    GTEST_SKIP() << "a run's address space is limited with setrlimit, which Windows has not";
#endif
    if (depmill_testing::kSanitized)
        GTEST_SKIP() << "the address sanitizer needs more address space than the limit";
    Sandbox sb;
    sb.write("main.c", "#include \"a.h\"\n");
    sb.write("a.h", "");
    const RunSettings limited{.memoryLimit = kSmallMemory};
    const RunResult small = sb.run(limited);
    if (small.status != 0)
        GTEST_SKIP() << "depmill does not start within the limit here: " << small.err;

    std::string includes;
    for (int i = 0; i < 400000; ++i) includes += "#include \"a.h\"\n";
    sb.write("main.c", includes);
    sb.write("makefile", kPrevious);
    std::filesystem::remove(sb.path("makefile.old"));
    RunResult run = sb.run(limited);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Depmill: memory overflow\n");
    EXPECT_EQ(sb.makefile(), kPrevious);
    EXPECT_EQ(entriesOf(sb), (std::set<std::string>{"a.h", "main.c", "makefile"}));

    // A definition continued over the whole file.
    sb.write("main.c", "");
    const std::string piece(1000, 'x');
    std::string continued = "CFLAGS\t= \\\n";
    for (int i = 0; i < 40000; ++i) continued += piece + "\\\n";
    continued += "\nall: x\n";
    sb.write("makefile", continued);
    run = sb.run(limited);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Depmill: settable: no memory\n");
    EXPECT_EQ(sb.makefile(), continued);
    EXPECT_EQ(entriesOf(sb), (std::set<std::string>{"a.h", "main.c", "makefile"}));

    // Twenty kept definitions that fit as they are read, but not once more
    // in the text of the new makefile: sizes from what fits to what cannot
    // be read, until the text is what runs out.
    for (std::size_t total = 1 << 20; total <= 16 << 20; total += total / 2) {
        std::string kept;
        for (int k = 1; k <= 20; ++k) {
            kept += "LIBS" + std::to_string(k) + "\t= \\\n";
            for (std::size_t i = 0; i < total / 20 / piece.size(); ++i) kept += piece + "\\\n";
            kept += "y\n";
        }
        kept += "\nall: x\n";
        sb.write("makefile", kept);
        std::filesystem::remove(sb.path("makefile.old"));
        run = sb.run(limited);
        if (run.status != 0) {
            EXPECT_EQ(sb.makefile(), kept) << total;
        }
        if (run.err == "Depmill: memory overflow\n") break;
    }
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Depmill: memory overflow\n");
    EXPECT_EQ(entriesOf(sb), (std::set<std::string>{"a.h", "main.c", "makefile"}));
}

}  // namespace
}  // namespace depmill_test
