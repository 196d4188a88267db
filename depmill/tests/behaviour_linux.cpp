// How the real depmill behaves on a Linux file system: backslashes in paths,
// case-sensitive names, CRLF files, and a failed write that must not cost
// the user the makefile.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "depmill_run.h"

namespace depmill_test {
namespace {

// Files are found through "\" as well as "/", while the makefile keeps every
// path exactly as it was written.
TEST(Linux, BackslashSeparatesFoldersOnDisk) {
    Sandbox sb;
    sb.write("main.c", lines({"#include \"defs.h\"", "#include \"sub\\x.h\"",
                              "#include \"sub\\y.h\"", "#include \"deep\\z.h\""}));
    sb.write("sub/x.h", "");
    sb.write("../header/defs.h", "");
    sb.write("../header/sub/y.h", "");
    sb.write("../inc/deep/z.h", "");
    RunResult run = sb.run({"-t1", "-I..\\header", "-I", "../inc"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nHDRPATH\t= ..\\header ../inc\n"), std::string::npos);
    EXPECT_EQ(blockFrom(makefile,
                        "main.obj: main.c ..\\header\\defs.h sub\\x.h "
                        "..\\header\\sub\\y.h ../inc\\deep\\z.h"),
              lines({"main.obj: main.c ..\\header\\defs.h sub\\x.h ..\\header\\sub\\y.h "
                     "../inc\\deep\\z.h",
                     "\t$(CC) -c $(CFLAGS) /I..\\header /I../inc main.c", ""}));
}

// Names are listed in lower case where that name exists; otherwise as they
// are on disk, so that the makefile never names a missing file. The order
// follows the names on disk. On Windows the lower-case name always opens
// the same file.
TEST(Linux, NamesKeepTheirCaseWhenTheLowerCaseNameIsMissing) {
    Sandbox sb;
    sb.write("MAIN.C", "#include \"defs.h\"\n");
    sb.write("defs.h", "");
    sb.write("B.c", "");
    sb.write("a.c", "");
    sb.write("データ.c", "");
    RunResult run = sb.run();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    std::string makefile = sb.makefile();
#ifdef _WIN32
    EXPECT_NE(makefile.find("\nOF1\t= b.obj main.obj a.obj データ.obj\n"), std::string::npos)
        << makefile;
    EXPECT_EQ(blockFrom(makefile, "main.obj: main.c defs.h"),
              lines({"main.obj: main.c defs.h", "\t$(CC) -c $(CFLAGS) main.c", ""}));
    EXPECT_EQ(blockFrom(makefile, "b.obj: b.c"),
              lines({"b.obj: b.c", "\t$(CC) -c $(CFLAGS) b.c", ""}));
#else
    EXPECT_NE(makefile.find("\nOF1\t= B.obj MAIN.obj a.obj データ.obj\n"), std::string::npos)
        << makefile;
    EXPECT_EQ(blockFrom(makefile, "MAIN.obj: MAIN.C defs.h"),
              lines({"MAIN.obj: MAIN.C defs.h", "\t$(CC) -c $(CFLAGS) MAIN.C", ""}));
    EXPECT_EQ(blockFrom(makefile, "B.obj: B.c"),
              lines({"B.obj: B.c", "\t$(CC) -c $(CFLAGS) B.c", ""}));
#endif
    EXPECT_EQ(blockFrom(makefile, "データ.obj: データ.c"),
              lines({"データ.obj: データ.c", "\t$(CC) -c $(CFLAGS) データ.c", ""}));
}

// Carriage returns before the line ends of sources and of the previous
// makefile are not part of the text; the new makefile ends its lines in "\n".
TEST(Linux, CrLfFilesReadAsPlainLines) {
    Sandbox sb;
    sb.write("main.c", "#include \"a.h\"\r\n#include x.h\r\n#include \"b.h\"\r\n");
    sb.write("io.asm", "\tinclude a.inc\r\n");
    sb.write("a.h", "");
    sb.write("b.h", "");
    sb.write("a.inc", "");
    const std::string old =
        "CC\t= cl\r\nCFLAGS\t= /AS \\\r\n/W3\r\nHDRPATH\t= ..\\inc\r\nOUTDIR\t= out\r\n\r\nall: "
        "x\r\n";
    sb.write("makefile", old);
    RunResult run = sb.run();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Depmill: illegal character\nmain.c 2: #include x.h\n\n");
    std::string makefile = sb.makefile();
    EXPECT_EQ(makefile.find('\r'), std::string::npos);
    EXPECT_TRUE(headerFitsRun(makefile, run));
    EXPECT_NE(
        makefile.find("\nMODEL\t= L\nCC\t= cl\nLINKER\t= link\nCFLAGS\t= /AS /W3\n"
                      "MAFLAGS\t= /Mx /w2\nMASM\t= masm\n\nHDRPATH\t= ..\\inc\nOUTDIR\t= out\n\n"),
        std::string::npos)
        << makefile;
    EXPECT_NE(makefile.find("\n$(OUTDIR)\\main.obj: main.c a.h b.h\n"), std::string::npos);
    EXPECT_NE(makefile.find("\n$(OUTDIR)\\io.obj: io.asm a.inc\n"), std::string::npos);
    EXPECT_EQ(sb.read("makefile.old"), old);  // the backup keeps its bytes
}

// The backup cannot replace a folder called makefile.old: the run stops
// before anything is changed.
TEST(Linux, FailedRenameLeavesTheMakefile) {
    Sandbox sb;
    sb.write("main.c", "");
    sb.write("makefile.old/keep.txt", "kept\n");
    const std::string old = "CC\t= cl\n\nall: prog.exe\n";
    sb.write("makefile", old);
    RunResult run = sb.run();
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Depmill: can't rename old Makefile\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(sb.makefile(), old);
    EXPECT_EQ(sb.read("makefile.old/keep.txt"), "kept\n");
    EXPECT_EQ(entriesOf(sb), (std::set<std::string>{"main.c", "makefile", "makefile.old"}));
}

// A write that fails half-way (here: a file size limit smaller than the new
// makefile) ends with one message and status 2, with "makefile" as it was
// and nothing half-written left behind; the limit does not end the program.
TEST(Linux, FailedWriteKeepsTheMakefileAsItWas) {
#ifdef _WIN32
    GTEST_SKIP() << "the failing write comes from a POSIX file size limit";
#endif
    const std::string old = "CC\t= cc\n\nall: prog.exe\n";
    for (bool hadMakefile : {true, false}) {
        SCOPED_TRACE(hadMakefile ? "with a previous makefile" : "without a previous makefile");
        Sandbox sb;
        sb.write("main.c", "");
        if (hadMakefile) sb.write("makefile", old);
        RunResult run = sb.run(RunSettings{.fileSizeLimit = 300});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "Depmill: can't write Makefile\n");
        std::set<std::string> expected{"main.c"};
        if (hadMakefile) {
            expected.insert("makefile");
            EXPECT_EQ(sb.makefile(), old);
        }
        EXPECT_EQ(entriesOf(sb), expected);
    }
}

}  // namespace
}  // namespace depmill_test
