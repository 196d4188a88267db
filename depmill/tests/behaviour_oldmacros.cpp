// What depmill keeps of the previous makefile: the macros of its head
// block, its HDRPATH line, the backup "makefile.old", and -U (in a folder in
// memory; the Shift-JIS locale with the real program).
#include <gtest/gtest.h>

#include <string>

#include "depmill_run.h"
#include "memory_run.h"
#include "shiftjislocale.h"

namespace depmill_test {
namespace {

const std::string kEditedMakefile = lines({
    "# make makefile at: 98/12/5 5:13",
    "",
    "MODEL\t= s",
    "CC\t= cl",
    "LINKER\t= link /NOD",
    "DBLIB\t= mydb.lib",
    "CFLAGS\t= /AS /Zi \\",
    "# a comment inside the definition",
    "/W3",
    "LDFLAGS\t= /CO",
    "MAFLAGS\t= /Zi",
    "MASM\t= ml",
    "MYOWN\t= mine",
    "OUTDIR\t= out",
    "",
    "HDRPATH\t= ..\\inc",
    "OF1\t= stale.obj",
    "OFILES\t= $(OF1)",
    "LIBS1\t= one.lib two.lib",
    "LIBS2\t= three.lib",
    "LIBS4\t= four.lib",
    "LIBS\t= ignored.lib",
    "PROGRAM\t= hello.exe",
    "PROGRAM\t= second.exe",
    "",
    "all: $(PROGRAM)",
    "",
    "PROGRAM\t= late.exe",
});

TEST(OldMacros, EditedMakefileIsCarriedOver) {
    MemoryProject sb;
    sb.write("main.c", "#include \"defs.h\"\n");
    sb.write("io.asm", "");
    sb.write("../inc/defs.h", "");
    sb.write("makefile", kEditedMakefile);
    RunResult run = sb.run();
    expectMakefile(sb, run,
                   lines({"",
                          "MODEL\t= s",
                          "CC\t= cl",
                          "LINKER\t= link /NOD",
                          "DBLIB\t= mydb.lib",
                          "CFLAGS\t= /AS /Zi /W3",
                          "LDFLAGS\t= /CO",
                          "MAFLAGS\t= /Mx /w2",
                          "MASM\t= masm",
                          "",
                          "HDRPATH\t= ..\\inc",
                          "OUTDIR\t= out",
                          "",
                          "OF1\t= $(OUTDIR)\\main.obj $(OUTDIR)\\io.obj",
                          "OFILES\t= $(OF1)",
                          "",
                          "LIBS1\t= one.lib two.lib",
                          "LIBS2\t= three.lib",
                          "LIBS\t= $(LIBS1) $(LIBS2)",
                          "",
                          "PROGRAM\t= hello.exe",
                          "",
                          "all: $(PROGRAM)",
                          "",
                          "$(PROGRAM): $(OFILES) $(LIBS) link.cc",
                          "\t@echo Linking...",
                          "\t$(LINKER) $(LDFLAGS) @link.cc;",
                          "",
                          "link.cc: makefile",
                          "\t@echo Creating link.cc...",
                          "\t@echo /SE:512 /EXEPACK /nologo+>link.cc",
                          "\t@echo $(OF1)>>link.cc",
                          "\t@echo $(PROGRAM)>>link.cc",
                          "\t@echo nul>>link.cc",
                          "\t@echo $(LIBS1)+>>link.cc",
                          "\t@echo $(LIBS2)>>link.cc",
                          "\t@echo /FARCALLTRANSLATION /PACKCODE ;>>link.cc",
                          "",
                          "$(OUTDIR)\\main.obj: main.c ..\\inc\\defs.h",
                          "\t$(CC) -c $(CFLAGS) /I..\\inc /Fo$(OUTDIR)\\ main.c",
                          "",
                          "$(OUTDIR)\\io.obj: io.asm",
                          "\t$(MASM) $(MAFLAGS) io.asm,$(OUTDIR)\\io.obj;",
                          "",
                          "clean:",
                          "\t-rm link.cc",
                          "\t-rm $(OF1)"}));
    EXPECT_EQ(sb.text("makefile.old"), kEditedMakefile);
}

// Options given on the command line win over the previous makefile.
TEST(OldMacros, CommandLineWinsOverOldValues) {
    MemoryProject sb;
    sb.write("main.c", "");
    sb.write("makefile", kEditedMakefile);
    RunResult run = sb.run({"-mm", "-o", "new.exe", "-O", "obj"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nMODEL\t= M\nCC\t= cl\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nOUTDIR\t= obj\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nPROGRAM\t= new.exe\n"), std::string::npos);

    // -d sets the model too.
    sb.write("makefile", kEditedMakefile);
    ASSERT_EQ(sb.run({"-d"}).status, 0);
    EXPECT_NE(sb.makefile().find("\nMODEL\t= L\nCC\t= cl\n"), std::string::npos);
}

// The previous CC chooses the toolchain only when it is exactly cc, cl or lcc.
TEST(OldMacros, CompilerNameSelectsToolchain) {
    MemoryProject sb;
    sb.write("main.c", "");
    sb.write("makefile", "CC\t= lcc\n");
    ASSERT_EQ(sb.run({"-t1"}).status, 0);
    EXPECT_EQ(blockFrom(sb.makefile(), "MODEL\t= l"),
              lines({"MODEL\t= l", "CC\t= lcc", "LINKER\t= lcc",
                     "CFLAGS\t= ", "LDFLAGS\t= -k'-s 1000'", ""}));

    sb.write("makefile", "CC\t= cl \n");
    ASSERT_EQ(sb.run().status, 0);
    EXPECT_EQ(blockFrom(sb.makefile(), "MODEL\t= l"),
              lines({"MODEL\t= l", "CC\t= cl ", "LINKER\t= cc",
                     "CFLAGS\t= -m$(MODEL) -W0,/W4,/G1,/Otgel,/Gt,/nologo",
                     "LDFLAGS\t= -m$(MODEL) -s4096", ""}));

    sb.write("makefile", "CC\t= gcc -ansi\n");
    ASSERT_EQ(sb.run({"-t1"}).status, 0);
    EXPECT_NE(sb.makefile().find("\nMODEL\t= L\nCC\t= gcc -ansi\nLINKER\t= link\n"),
              std::string::npos);
}

TEST(OldMacros, LibraryMacroMakesALibrary) {
    MemoryProject sb;
    sb.write("main.c", "");
    const std::string old = lines({"LIBRARY\t= mine.lib", "LINKER\t= tlink", "CFLAGS\t= -O",
                                   "LDFLAGS\t= -x", "LIBS\t= x.lib", ""});
    sb.write("makefile", old);
    ASSERT_EQ(sb.run().status, 0);
    const std::string head =
        lines({"", "MODEL\t= l", "CC\t= cc", "CFLAGS\t= -O", "", "HDRPATH\t=", "OUTDIR\t= .", "",
               "OF1\t= main.obj", "OFILES\t= $(OF1)", "", "LIBRARY\t= mine.lib", "",
               "all: $(LIBRARY)", "", "$(LIBRARY): $(OFILES) makelib"});
    std::string makefile = sb.makefile();
    EXPECT_EQ(bodyOf(makefile).substr(0, head.size()), head);
    EXPECT_EQ(makefile.find("LIBS"), std::string::npos);

    sb.write("makefile", old);
    ASSERT_EQ(sb.run({"-o", "other.lib"}).status, 0);
    EXPECT_NE(sb.makefile().find("\nLIBRARY\t= other.lib\n"), std::string::npos);
}

// Without the old CFLAGS the old DBLIB and LDFLAGS are not used; with it,
// only the lines the old file defines are written.
TEST(OldMacros, FlagsTravelTogetherWithCflags) {
    MemoryProject sb;
    sb.write("main.c", "");
    sb.write("makefile", lines({"DBLIB\t= my.lib", "LDFLAGS\t= -static", ""}));
    ASSERT_EQ(sb.run().status, 0);
    EXPECT_NE(sb.makefile().find("\nLINKER\t= cc\n"
                                 "CFLAGS\t= -m$(MODEL) -W0,/W4,/G1,/Otgel,/Gt,/nologo\n"
                                 "LDFLAGS\t= -m$(MODEL) -s4096\n\n"),
              std::string::npos);

    sb.write("makefile", lines({"LDFLAGS\t= -static", "CFLAGS += -g  ", ""}));
    ASSERT_EQ(sb.run().status, 0);
    EXPECT_NE(sb.makefile().find("\nLINKER\t= cc\nCFLAGS\t= -g  \nLDFLAGS\t= -static\n\n"),
              std::string::npos);
}

// The head block ends at the first line without "=", a blank one included.
TEST(OldMacros, HeadBlockEndsAtFirstLineWithoutEquals) {
    MemoryProject sb;
    sb.write("main.c", "");
    sb.write("makefile", lines({"# comment", "", "CC\t= cl", " \t", "PROGRAM\t= hidden.exe"}));
    ASSERT_EQ(sb.run().status, 0);
    std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nCC\t= cl\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nPROGRAM\t= $(OUTDIR)\\a.exe\n"), std::string::npos);
}

// OUTDIR is taken when it names a folder other than "."; then object names
// get the $(OUTDIR) prefix.
TEST(OldMacros, OutdirIsTakenUnlessEmptyOrDot) {
    for (const char* value : {".", ""}) {
        SCOPED_TRACE(value);
        MemoryProject sb;
        sb.write("main.c", "");
        sb.write("makefile", "OUTDIR\t= " + std::string(value) + "\n");
        ASSERT_EQ(sb.run().status, 0);
        std::string makefile = sb.makefile();
        EXPECT_NE(makefile.find("\nOUTDIR\t= .\n\nOF1\t= main.obj\n"), std::string::npos);
        EXPECT_NE(makefile.find("\nmain.obj: main.c\n\t$(CC) -c $(CFLAGS) main.c\n"),
                  std::string::npos);
    }
    MemoryProject sb;
    sb.write("main.c", "");
    sb.write("makefile", "OUTDIR\t= ..\\build\n");
    ASSERT_EQ(sb.run().status, 0);
    EXPECT_NE(sb.makefile().find("\nOUTDIR\t= ..\\build\n\nOF1\t= $(OUTDIR)\\main.obj\n"),
              std::string::npos);
}

TEST(OldMacros, HeaderPathMergesAfterCommandLineFolders) {
    MemoryProject sb;
    sb.write("main.c", "#include \"i.h\"\n");
    sb.write("../inc/i.h", "");
    sb.write("makefile", lines({"CC\t= cc", "", "all: $(PROGRAM)",
                                "  HDRPATH \t= ..\\header\t..\\inc ", "HDRPATH\t= ..\\second"}));
    RunResult run = sb.run({"-I..\\header"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nHDRPATH\t= ..\\header ..\\inc\n"), std::string::npos);
    EXPECT_NE(
        makefile.find("\nmain.obj: main.c ..\\inc\\i.h\n\t$(CC) -c $(CFLAGS) -I..\\inc main.c\n"),
        std::string::npos);

    for (const char* line : {"HDRPATH\t=", "HDRPATHX\t= ..\\inc"}) {
        SCOPED_TRACE(line);
        sb.write("makefile", std::string(line) + "\n");
        RunResult none = sb.run();
        EXPECT_EQ(none.out, "Depmill: can't find i.h (in main.c)\n");
        EXPECT_NE(sb.makefile().find("\nHDRPATH\t=\n"), std::string::npos);
    }
}

TEST(OldMacros, HeaderPathLimitOfTenFolders) {
    std::string ten = "HDRPATH\t=";
    for (int i = 1; i <= 10; ++i) ten += " ..\\inc" + std::to_string(i);
    MemoryProject sb;
    sb.write("main.c", "");
    sb.write("makefile", ten + "\n");
    ASSERT_EQ(sb.run().status, 0);
    EXPECT_NE(sb.makefile().find("\n" + ten + "\n"), std::string::npos);

    sb.write("makefile", ten + "\n");
    sb.write("makefile.old", "older\n");
    // Full after inc9, so even the duplicate inc10 overflows.
    RunResult run = sb.run({"-I..\\inc10"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Depmill: too many include path\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(sb.makefile(), ten + "\n");
    EXPECT_EQ(sb.text("makefile.old"), "older\n");
}

TEST(OldMacros, MacroTableHoldsTwoHundredDefinitions) {
    std::string defs;
    for (int i = 1; i <= 199; ++i)
        defs += "M" + std::to_string(i) + " = " + std::to_string(i) + "\n";
    MemoryProject sb;
    sb.write("main.c", "");
    sb.write("makefile", defs + "CC = cl\n");
    RunResult full = sb.run();
    ASSERT_EQ(full.status, 0) << full.err;
    EXPECT_NE(sb.makefile().find("\nCC\t= cl\n"), std::string::npos);

    const std::string overflowing = defs + "CC = cl\nM200 = 200\nall: x\n";
    sb.write("makefile", overflowing);
    const std::string backup = sb.text("makefile.old");
    RunResult over = sb.run();
    EXPECT_EQ(over.status, 2);
    EXPECT_EQ(over.err, "Depmill: macro table overflow\n");
    EXPECT_EQ(over.out, "");
    EXPECT_EQ(sb.makefile(), overflowing);
    EXPECT_EQ(sb.text("makefile.old"), backup);

    // -U reads nothing of it, so the same file is no obstacle.
    RunResult ignored = sb.run({"-U"});
    EXPECT_EQ(ignored.status, 0);
    EXPECT_EQ(ignored.err, "");
}

// -U still keeps the previous makefile as makefile.old but uses nothing of
// it, neither its macros nor its HDRPATH.
TEST(OldMacros, IgnoreOldMacrosStillMakesTheBackup) {
    MemoryProject sb;
    sb.write("main.c", "#include \"defs.h\"\n");
    sb.write("../inc/defs.h", "");
    sb.write("makefile.old", "an older backup\n");
    sb.write("makefile", kEditedMakefile);
    RunResult run = sb.run({"-U"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Depmill: can't find defs.h (in main.c)\n");
    EXPECT_EQ(sb.text("makefile.old"), kEditedMakefile);
    std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nMODEL\t= l\nCC\t= cc\nLINKER\t= cc\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nHDRPATH\t=\nOUTDIR\t= .\n"), std::string::npos);
    EXPECT_NE(makefile.find("\nLIBS\t=\n\nPROGRAM\t= $(OUTDIR)\\a.exe\n"), std::string::npos);

    // A second run keeps the first run's makefile as the backup.
    std::string first = makefile;
    ASSERT_EQ(sb.run().status, 0);
    EXPECT_EQ(sb.text("makefile.old"), first);
}

// Under a Shift-JIS locale a previous makefile whose PROGRAM ends in "表"
// (0x95 0x5C) keeps that character whole and the CC line after it. make
// would join the next line to such a value, so it is left out.
TEST(OldMacros, ShiftJisTrailByteAtTheLineEndContinuesNothing) {
    const ShiftJisLocale& locale = TestShiftJisLocale();
    if (!locale.whyNot.empty()) GTEST_SKIP() << locale.whyNot;
    const std::string hyo = "\x95\x5C";
    Sandbox sb;
    sb.write("main.c", "");
    sb.write("makefile",
             lines({"PROGRAM\t= $(OUTDIR)\\" + hyo, "CC\t= cl", "", "all: $(PROGRAM)"}));
    const RunResult run = sb.run(RunSettings{.env = locale.environment});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Depmill: skipped PROGRAM = $(OUTDIR)\\" + hyo + ": not usable in a makefile\n");
    const std::string makefile = sb.makefile();
    EXPECT_NE(makefile.find("\nMODEL\t= L\nCC\t= cl\nLINKER\t= link\n"), std::string::npos)
        << makefile;
    EXPECT_NE(makefile.find("\nPROGRAM\t= $(OUTDIR)\\a.exe\n"), std::string::npos);
}

}  // namespace
}  // namespace depmill_test
